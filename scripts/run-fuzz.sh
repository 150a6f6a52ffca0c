#!/bin/sh
# Runs each fuzz target for SECONDS on a working copy of its checked-in corpus
# and prints executions, coverage and findings per target.
# Usage: scripts/run-fuzz.sh BUILD SECONDS TARGET...
set -eu

build=$1
seconds=$2
shift 2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
failed=0
printf '%-10s %12s %10s %8s %s\n' target executions exec/s cov findings
for target in "$@"; do
    work="$build/fuzz-corpus/$target"
    mkdir -p "$work" "$build/fuzz-findings/$target"
    log="$build/fuzz-$target.log"
    status=0
    "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-findings/$target/" \
        "$work" "$source_dir/tests/fuzz/corpus/$target" > "$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    findings=$(ls "$build/fuzz-findings/$target" | wc -l)
    printf '%-10s %12s %10s %8s %s\n' "$target" "${runs:-?}" "${speed:-?}" "${cov:-?}" "$findings"
    if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
        failed=1
        echo "  see $log and $build/fuzz-findings/$target/" >&2
    fi
done
exit $failed
