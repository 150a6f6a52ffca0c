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

void TraceFile::Close()
{
    trace_.reset();
    file_.Close();
}

std::string TraceFailureText(const std::filesystem::path& path, FileProblem problem)
{
    return WithReason("The trace " + path.string() + " could not be written", problem) +
           ".\nThe transfer goes on without it.";
}

} // namespace veskar
