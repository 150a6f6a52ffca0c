#include "about/ProjectVersion.h"
#include "cli/CliCommand.h"
#include "database/FileWriting.h"

#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <ostream>
#include <vector>

namespace veskar::cli {

namespace {

constexpr std::string_view kToolName = "veskar-cli";

struct OptionSpec {
    CliOption bit;
    const char* name;
    const char* valueName; // nullptr for a flag
    const char* description;
};

constexpr OptionSpec kOptions[] = {
    {kOptionPort, "port", "NAME", "COM1..COM8 or a device path; without it, the port saved in Veskar.cfg"},
    {kOptionTrace, "trace", "FILE", "append every frame on the line, time-outs and purges to FILE"},
    {kOptionNoBackup, "no-backup", nullptr, "keep no copy of the configuration in backups/"},
    {kOptionYes, "yes", nullptr, "ask no confirmation"},
    {kOptionKind, "kind", "KIND", "operators, system, directories, warnings or all"},
    {kOptionPdf, "pdf", "FILE", "write a PDF file instead of printing text"},
};

std::vector<const CliCommand*> AllCommands()
{
    std::vector<const CliCommand*> commands;
    for (const CliCommand& command : FileCommands())
        commands.push_back(&command);
    for (const CliCommand& command : ReportCommands())
        commands.push_back(&command);
    for (const CliCommand& command : TransferCommands())
        commands.push_back(&command);
    return commands;
}

// Words of the usage outside "[...]": the arguments every call gives.
std::size_t UsageWordCount(std::string_view usage)
{
    std::size_t words = 0;
    int depth = 0;
    bool inWord = false;
    for (char c : usage) {
        depth += c == '[' ? 1 : c == ']' ? -1 : 0;
        const bool wordChar = c != ' ' && c != '[' && c != ']';
        if (wordChar && !inWord && depth == 0)
            ++words;
        inWord = wordChar;
    }
    return words;
}

std::string OptionLabel(const OptionSpec& option)
{
    std::string label = "--" + std::string(option.name);
    if (option.valueName)
        label += " " + std::string(option.valueName);
    return label;
}

void PrintOptions(std::ostream& out, unsigned options)
{
    for (const OptionSpec& option : kOptions) {
        if (!(options & option.bit))
            continue;
        std::string left = OptionLabel(option);
        left.resize(std::max<std::size_t>(left.size() + 2, 16), ' ');
        out << "  " << left << option.description << "\n";
    }
}

void PrintToolHelp(std::ostream& out)
{
    out << "Usage: " << kToolName << " [OPTIONS] COMMAND ARGUMENTS...\n"
        << "       " << kToolName << " COMMAND --help\n"
        << "       " << kToolName << " --version\n\n"
        << "Reads, writes and compares configuration data files (.dat), and transfers\n"
        << "configurations, vocabularies and voices to and from the unit over a serial\n"
        << "port. COMn maps to a device through the [Ports] group of CorvaneVeskar.ini\n"
        << "(e.g. COM1=/dev/ttyUSB0). Options may come anywhere; -- ends them.\n\nCommands:\n";
    for (const CliCommand* command : AllCommands()) {
        std::string left = std::string(command->name) + " " + std::string(command->usage);
        left.resize(std::max<std::size_t>(left.size() + 2, 30), ' ');
        out << "  " << left << command->summary << "\n";
    }
    out << "\nOptions (each where its command takes it):\n";
    PrintOptions(out, ~0U);
    out << "  -h, --help      this text, or a command's\n"
        << "  --version       the version and build\n"
        << "\nExit status: 0 success; 1 differences or a failed transfer, and a refused\n"
        << "file for the file commands; 2 bad usage, and a refused file for transfers.\n"
        << "warnings: 0 none, 1 there are warnings, 2 a refused file.\n";
}

void PrintCommandHelp(const CliCommand& command, std::ostream& out)
{
    out << "Usage: " << kToolName << " " << command.name << " " << command.usage << "\n\n"
        << command.details << "\n";
    if (command.options != 0) {
        out << "\nOptions:\n";
        PrintOptions(out, command.options);
    }
}

int BadUsage(std::string_view problem, const Streams& streams)
{
    streams.err << kToolName << ": " << problem << "\nTry '" << kToolName << " --help'.\n";
    return kExitUsage;
}

// An output that is also an input of the same command would be destroyed
// before or while it is read: found before anything is written.
std::optional<std::string> OutputOverInput(const CliCommand& command, const Invocation& invocation)
{
    std::vector<std::string> inputs;
    std::vector<std::string> outputs;
    for (std::size_t i = 0; i < invocation.arguments.size(); ++i)
        (command.writes >> i & 1U ? outputs : inputs).push_back(invocation.arguments[i]);
    if (!invocation.pdf.empty() && invocation.pdf != kStandardOutput)
        outputs.push_back(invocation.pdf);
    if (!invocation.trace.empty())
        outputs.push_back(invocation.trace);
    for (const std::string& output : outputs)
        for (const std::string& input : inputs)
            if (SameFile(output, input))
                return output + " is the same file as " + input + "; nothing was written";
    return std::nullopt;
}

QString Local(const std::string& text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Local(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

} // namespace

int RunCli(std::span<const std::string> arguments, const Streams& streams)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOption(help);
    parser.addOption(version);
    std::vector<QCommandLineOption> options;
    for (const OptionSpec& spec : kOptions) {
        options.emplace_back(QString::fromLatin1(spec.name), QString(),
                             spec.valueName ? QString::fromLatin1(spec.valueName) : QString());
        parser.addOption(options.back());
    }
    QStringList words{QString::fromLatin1(kToolName.data(), static_cast<qsizetype>(kToolName.size()))};
    for (const std::string& argument : arguments)
        words << Local(argument);
    if (!parser.parse(words))
        return BadUsage(Local(parser.errorText()), streams);

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        if (parser.isSet(version)) {
            streams.out << VersionText(kToolName);
            return kExitSuccess;
        }
        if (parser.isSet(help)) {
            PrintToolHelp(streams.out);
            return kExitSuccess;
        }
        return BadUsage("no command given", streams);
    }

    const std::string name = Local(positional.takeFirst());
    const auto commands = AllCommands();
    const auto found = std::ranges::find(commands, name, &CliCommand::name);
    if (found == commands.end())
        return BadUsage("unknown command '" + name + "'", streams);
    const CliCommand& command = **found;
    if (parser.isSet(help)) {
        PrintCommandHelp(command, streams.out);
        return kExitSuccess;
    }
    if (static_cast<std::size_t>(positional.size()) != UsageWordCount(command.usage))
        return BadUsage("usage: " + std::string(kToolName) + " " + name + " " + std::string(command.usage),
                        streams);

    Invocation invocation;
    invocation.command = name;
    for (std::size_t i = 0; i < std::size(kOptions); ++i) {
        if (!parser.isSet(options[i]))
            continue;
        const OptionSpec& spec = kOptions[i];
        if (!(command.options & spec.bit))
            return BadUsage(name + " does not take --" + spec.name, streams);
        const std::string value = spec.valueName ? Local(parser.value(options[i])) : std::string();
        switch (spec.bit) {
        case kOptionPort: invocation.port = value; break;
        case kOptionTrace: invocation.trace = value; break;
        case kOptionNoBackup: invocation.backup = false; break;
        case kOptionYes: invocation.yes = true; break;
        case kOptionKind: invocation.kind = value; break;
        case kOptionPdf: invocation.pdf = value; break;
        }
    }
    for (const QString& word : positional)
        invocation.arguments.push_back(Local(word));
    if (const std::optional<std::string> clash = OutputOverInput(command, invocation)) {
        streams.err << kToolName << " " << name << ": " << *clash << "\n";
        return kExitUsage;
    }
    return command.run(invocation, streams);
}

} // namespace veskar::cli
