#include "programming/TraceFile.h"

#include "programming/Backups.h"

namespace veskar {

bool TraceFile::Open(const std::filesystem::path& path, std::string_view heading, const Clock& clock,
                     std::time_t when)
{
    Close();
    problem_ = file_.Open(path);
    if (problem_ != FileProblem::None)
        return false;
    file_ << "# " << LocalTimeStamp(when) << ' ' << heading << '\n' << std::flush;
    trace_.emplace(file_, clock);
    return true;
}

bool TraceFile::Close()
{
    trace_.reset();
    if (!file_.is_open())
        return true;
    file_.flush();
    const bool whole = file_.good();
    file_.Close();
    return whole;
}

std::string TraceIncompleteText(const std::filesystem::path& path)
{
    return "The trace " + path.string() + " is incomplete: the disk is full or the file could not be written.";
}

std::string TraceFailureText(const std::filesystem::path& path, FileProblem problem)
{
    return WithReason("The trace " + path.string() + " could not be written", problem) +
           ".\nThe transfer goes on without it.";
}

} // namespace veskar
