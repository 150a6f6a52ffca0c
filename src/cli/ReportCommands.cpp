#include "cli/CliCommand.h"
#include "database/DataFile.h"
#include "database/Document.h"
#include "report/PageText.h"
#include "report/SummaryPdf.h"
#include "report/Warnings.h"

#include <algorithm>
#include <array>
#include <optional>
#include <ostream>

namespace veskar::cli {

namespace {

constexpr int kExitRefusedFile = 2; // of `warnings`, whose 1 means "there are warnings"

struct KindName {
    std::string_view name;
    std::vector<PageKind> kinds;
};

const std::array<KindName, 5>& KindNames()
{
    static const std::array<KindName, 5> names = {{
        {"operators", {PageKind::Operators}},
        {"system", {PageKind::System}},
        {"directories", {PageKind::Directories}},
        {"warnings", {PageKind::Warnings}},
        {"all", {PageKind::Operators, PageKind::System, PageKind::Directories}},
    }};
    return names;
}

// The file as the program's Open gives it: name and size rules, then the repair pass.
std::optional<Image> OpenFile(const std::string& name, std::ostream& err)
{
    Document document;
    if (const FileResult result = document.Open(name); result != FileError::None) {
        err << FileResultLine(name, result) << "\n";
        return std::nullopt;
    }
    return document.image;
}

// To standard output for "-"; a file that cannot be written is told before the pages are drawn.
int WritePdf(const std::string& pdf, const std::vector<ReportPage>& pages, const Streams& streams)
{
    const bool toFile = pdf != kStandardOutput;
    if (const FileResult result = toFile ? CheckWritable(pdf) : FileResult{}; result != FileError::None) {
        streams.err << FileResultLine(pdf, result) << "\n";
        return kExitFailure;
    }
    const std::optional<std::vector<Byte>> bytes = SummaryPdf(pages);
    if (!bytes) {
        streams.err << "veskar-cli summary: the PDF could not be drawn\n";
        return kExitFailure;
    }
    if (!toFile) {
        streams.out.write(reinterpret_cast<const char*>(bytes->data()),
                          static_cast<std::streamsize>(bytes->size()));
        if (streams.out.flush())
            return kExitSuccess;
        streams.err << "veskar-cli summary: the PDF could not be written to standard output\n";
        return kExitFailure;
    }
    if (const FileResult result = FileResultOf(WriteReplacing(pdf, *bytes)); result != FileError::None) {
        streams.err << FileResultLine(pdf, result) << "\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

int RunSummary(const Invocation& invocation, const Streams& streams)
{
    const auto& arguments = invocation.arguments;
    std::vector<PageKind> kinds{PageKind::Operators, PageKind::System, PageKind::Directories,
                                PageKind::Warnings};
    if (!invocation.kind.empty()) {
        const auto found = std::ranges::find(KindNames(), invocation.kind, &KindName::name);
        if (found == KindNames().end()) {
            streams.err << "veskar-cli summary: unknown kind '" << invocation.kind
                        << "' (operators, system, directories, warnings or all)\n";
            return kExitUsage;
        }
        kinds = found->kinds;
    }
    const std::string& pdf = invocation.pdf;
    const std::optional<Image> image = OpenFile(arguments[0], streams.err);
    if (!image)
        return kExitFailure;
    const std::vector<ReportPage> pages = BuildPages(*image, kinds);
    if (pdf.empty()) {
        streams.out << PagesText(pages);
        return kExitSuccess;
    }
    return WritePdf(pdf, pages, streams);
}

int RunWarnings(const Invocation& invocation, const Streams& streams)
{
    const std::optional<Image> image = OpenFile(invocation.arguments[0], streams.err);
    if (!image)
        return kExitRefusedFile;
    const std::vector<std::string> lines = WarningLines(*image);
    for (const std::string& line : lines)
        streams.out << line << "\n";
    return WarningCount(*image) == 0 ? kExitSuccess : kExitFailure;
}

constexpr CliCommand kReportCommands[] = {
    {"summary", "FILE.dat [--kind KIND] [--pdf OUT.pdf]", "print the summary pages",
     "Prints the summary of FILE.dat (opened as the program opens it) page after\n"
     "page, each exactly as the summary window shows it: one line per report line,\n"
     "empty report lines as empty lines, a form feed between pages.\n"
     "--kind operators|system|directories|warnings|all picks the pages (all: the\n"
     "operator, system and directory pages); without it, all and then the warnings.\n"
     "--pdf OUT.pdf writes the pages to a PDF file instead, one report page per PDF\n"
     "page; it needs no display. --pdf - writes the PDF to standard output.",
     RunSummary, kOptionKind | kOptionPdf},
    {"warnings", "FILE.dat", "print the configuration warnings",
     "Prints the configuration warnings of FILE.dat, one per line, the separators\n"
     "between their groups as the empty or one-blank lines they are. Exits 0 when\n"
     "there are none, 1 when there are warnings, 2 for a refused file, so a script\n"
     "can refuse to program a configuration with warnings.",
     RunWarnings},
};

} // namespace

std::span<const CliCommand> ReportCommands()
{
    return kReportCommands;
}

} // namespace veskar::cli
