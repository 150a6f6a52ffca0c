#include "cli/CliCommand.h"
#include "cli/StoredFile.h"
#include "database/Document.h"
#include "report/Listing.h"

#include <filesystem>
#include <ostream>

namespace veskar::cli {

namespace {

int Report(const FileResult& result, const std::string& name, std::ostream& err)
{
    if (result == FileError::None)
        return kExitSuccess;
    err << FileResultLine(name, result) << "\n";
    return kExitFailure;
}

int RunNew(const Invocation& invocation, const Streams& streams)
{
    const auto& arguments = invocation.arguments;
    const std::string& name = arguments[0];
    if (!DataFileNameHolds(name))
        return Report(FileError::NeedDatExtension, name, streams.err);
    // Anything there counts, a link to nowhere too.
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(name, ignored))) {
        streams.err << name << ": already exists; remove it first to replace it\n";
        return kExitFailure;
    }
    Document document;
    return Report(document.CreateStartupFile(name), name, streams.err);
}

int RunShow(const Invocation& invocation, const Streams& streams)
{
    const auto& arguments = invocation.arguments;
    Image image{};
    if (!ReadStored(arguments[0], image, streams.err))
        return kExitFailure;
    for (const ListingEntry& entry : ImageListing(image))
        streams.out << entry.name << " = " << entry.value << "\n";
    return kExitSuccess;
}

int RunRepair(const Invocation& invocation, const Streams& streams)
{
    const auto& arguments = invocation.arguments;
    Document document;
    if (const FileResult result = document.Open(arguments[0]); result != FileError::None)
        return Report(result, arguments[0], streams.err);
    return Report(document.SaveAs(arguments[1]), arguments[1], streams.err);
}

int RunDiff(const Invocation& invocation, const Streams& streams)
{
    const auto& arguments = invocation.arguments;
    Image before{};
    Image after{};
    if (!ReadStored(arguments[0], before, streams.err) || !ReadStored(arguments[1], after, streams.err))
        return kExitUsage; // 1 already means "they differ"
    return PrintDifferences(before, after, streams.out) == 0 ? kExitSuccess : kExitFailure;
}

constexpr CliCommand kFileCommands[] = {
    {"new", "FILE.dat", "write a new default configuration",
     "Writes a freshly created default configuration to FILE.dat.\n"
     "An existing file is never replaced.",
     RunNew},
    {"show", "FILE.dat", "print every field as name = value",
     "Prints every field of FILE.dat in image order as `name = value`:\n"
     "codes as digit text, names quoted, directories as their command lines.\n"
     "The file is shown as stored, without the repair pass.",
     RunShow},
    {"repair", "IN.dat OUT.dat", "load, repair and save a configuration",
     "Loads IN.dat as the program's Open does (with the repair pass) and saves\n"
     "the result to OUT.dat, which must not be IN.dat itself.",
     RunRepair, 0, 0b10},
    {"diff", "A.dat B.dat", "print the fields that differ",
     "Prints only the fields of A.dat and B.dat that differ, as\n"
     "`name: value in A -> value in B`. Exits 1 when any differ, 0 when none do.",
     RunDiff},
};

} // namespace

std::span<const CliCommand> FileCommands()
{
    return kFileCommands;
}

} // namespace veskar::cli
