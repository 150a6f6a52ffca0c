# Writes BuildInfo.h from the current commit; run at every build, but the header
# only changes (and so only triggers a rebuild) when the commit does.
execute_process(COMMAND git -C "${SOURCE_DIR}" rev-parse --short HEAD
                OUTPUT_VARIABLE VESKAR_COMMIT OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
execute_process(COMMAND git -C "${SOURCE_DIR}" log -1 --format=%cd --date=short
                OUTPUT_VARIABLE VESKAR_COMMIT_DATE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
configure_file("${INPUT}" "${OUTPUT}" @ONLY)
