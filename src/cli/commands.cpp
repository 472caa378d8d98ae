// corvane-cli transfer, pool and size.

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/common.h"
#include "cli/json.h"
#include "cli/terminal_host.h"
#include "map/sky.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "transfer/byte_total.h"
#include "pool/pooling.h"
#include "transfer/command.h"

namespace corvane::cli {

namespace {

constexpr std::string_view kTransferUsage =
    "Usage: corvane-cli transfer LEVEL.map --target DIR [--source-dir DIR] [--move] [--sky]\n"
    "                            [--pellark DIR] [--overwrite ask|all|none]\n"
    "\n"
    "Builds the game directory DIR from the level: DIR/maps with the level and its\n"
    ".bsp, and the custom textures, sounds and (with --sky) sky images the level\n"
    "uses, taken from the textures, sound and env folders beside the source folder.\n"
    "The transfer log goes to standard output; questions and messages go to\n"
    "standard error, followed by the target's byte total.\n"
    "\n"
    "Options:\n"
    "  --target DIR          the game directory to build (required)\n"
    "  --source-dir DIR      the folder of level sources (default: the level's folder)\n"
    "  --move                move the resources and the .bsp instead of copying them\n"
    "  --sky                 include the level's sky images\n"
    "  --pellark DIR         also copy the base game tree DIR into the target\n"
    "  --overwrite ask       ask on standard input before replacing a file (default):\n"
    "                        yes, no, all (Yes to All), none (No to All), ok, cancel\n"
    "  --overwrite all       replace existing files without asking\n"
    "  --overwrite none      keep existing files without asking\n"
    "  -h, --help            show this help and exit\n";

constexpr std::string_view kPoolUsage =
    "Usage: corvane-cli pool TARGET [--json]\n"
    "\n"
    "Lists the custom textures and sounds of all levels in TARGET/maps as one set.\n"
    "Nothing on disk changes. A level without a brush, or one that cannot be read,\n"
    "is skipped and named on standard error (\"Skipped LEVEL: no brush\"); the\n"
    "others are pooled, and the exit status is then 1.\n"
    "\n"
    "Options:\n"
    "  --json       print one JSON object: {\"textures\": [...], \"sounds\": [...]}\n"
    "  -h, --help   show this help and exit\n";

constexpr std::string_view kSizeUsage =
    "Usage: corvane-cli size DIR\n"
    "\n"
    "Prints the total bytes of the files below DIR (folders whose names begin\n"
    "with \".\" and linked folders are not entered).\n"
    "\n"
    "Options:\n"
    "  -h, --help   show this help and exit\n";

// Splits the arguments into options and operands. Options that take a value
// accept it as the next argument or after "=".
struct ParsedArgs {
    std::vector<std::string> operands;
    std::vector<std::pair<std::string, std::string>> options;
    bool help = false;
    std::string problem;

    std::optional<std::string> value(const std::string& name) const
    {
        std::optional<std::string> found;
        for (const auto& [option, text] : options) {
            if (option == name)
                found = text;
        }
        return found;
    }
    bool flag(const std::string& name) const { return value(name).has_value(); }
};

ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                     const std::vector<std::string>& valued)
{
    ParsedArgs parsed;
    auto is = [](const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
            parsed.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            parsed.help = true;
        } else if (is(flags, arg)) {
            parsed.options.emplace_back(arg, "");
        } else if (const auto equals = arg.find('='); equals != std::string::npos &&
                                                     is(valued, arg.substr(0, equals))) {
            parsed.options.emplace_back(arg.substr(0, equals), arg.substr(equals + 1));
        } else if (is(valued, arg)) {
            if (i + 1 == args.size()) {
                parsed.problem = "option '" + arg + "' needs a value";
                return parsed;
            }
            parsed.options.emplace_back(arg, args[++i]);
        } else {
            parsed.problem = "unknown option '" + arg + "'";
            return parsed;
        }
    }
    return parsed;
}

// What a command's arguments come to: either the parsed arguments, or the
// exit status to end with (after --help, or wrong arguments).
struct CommandStart {
    ParsedArgs parsed;
    std::optional<int> exitStatus;
};

// Parses a command's arguments and requires exactly one operand, named
// `operand` in the complaint.
CommandStart StartCommand(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                          const std::vector<std::string>& valued, std::string_view command,
                          std::string_view usage, std::string_view operand, std::ostream& out,
                          std::ostream& err)
{
    CommandStart start{ParseArgs(args, flags, valued), std::nullopt};
    const ParsedArgs& parsed = start.parsed;
    const std::string prefix = std::string(command) + ": ";
    if (parsed.help) {
        out << usage;
        start.exitStatus = kExitOk;
    } else if (!parsed.problem.empty()) {
        start.exitStatus = UsageError(err, prefix + parsed.problem, usage);
    } else if (parsed.operands.empty() || parsed.operands.front().empty()) {
        start.exitStatus = UsageError(err, prefix + "no " + std::string(operand) + " named", usage);
    } else if (parsed.operands.size() > 1) {
        start.exitStatus = UsageError(err, prefix + "name exactly one " + std::string(operand), usage);
    }
    return start;
}

}  // namespace

int Transfer(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err)
{
    const CommandStart start =
        StartCommand(args, {"--move", "--sky"}, {"--target", "--source-dir", "--pellark", "--overwrite"},
                     "transfer", kTransferUsage, "level", out, err);
    if (start.exitStatus)
        return *start.exitStatus;
    const ParsedArgs& parsed = start.parsed;
    const std::optional<std::string> target = parsed.value("--target");
    if (!target || target->empty())
        return UsageError(err, "transfer: no target named (--target DIR)", kTransferUsage);

    AnswerPolicy policy = AnswerPolicy::Ask;
    if (const auto overwrite = parsed.value("--overwrite")) {
        if (*overwrite == "all")
            policy = AnswerPolicy::All;
        else if (*overwrite == "none")
            policy = AnswerPolicy::None;
        else if (*overwrite != "ask")
            return UsageError(err, "transfer: --overwrite takes ask, all or none", kTransferUsage);
    }
    const std::optional<std::string> sourceDir = parsed.value("--source-dir");
    if (sourceDir && sourceDir->empty())
        return UsageError(err, "transfer: --source-dir needs a folder", kTransferUsage);
    const std::optional<std::string> pellark = parsed.value("--pellark");
    if (pellark && pellark->empty())
        return UsageError(err, "transfer: --pellark needs a folder", kTransferUsage);

    LoadedLevel level;
    if (!LoadLevel(parsed.operands.front(), level, err))
        return kExitFailed;

    TransferJob job;
    job.currentMapPath = Absolute(parsed.operands.front());
    job.target = Absolute(*target);
    job.targPath = job.target;
    job.srcPath = sourceDir ? Absolute(*sourceDir) : ParentPath(job.currentMapPath);
    job.mode = parsed.flag("--move") ? TransferMode::Move : TransferMode::Copy;
    job.includeSky = parsed.flag("--sky");
    job.skyName = FindSkyCaption(level.MapLines);
    job.includePellark = pellark.has_value();
    if (pellark)
        job.pellarkPath = Absolute(*pellark);

    TerminalHost host(policy, in, err);
    TransferLog log;
    log.setListener([&out](const std::string& line) { out << line << '\n' << std::flush; });
    TransferSession session;
    TransferReport report;
    try {
        report = RunTransferCommand(job, level.TextureList, level.SoundList, session, log, host);
    } catch (const std::exception& error) {
        err << kProgram << ": " << ErrorBoxText(error) << '\n';
        return kExitFailed;
    }
    if (report.byteTotal)
        err << TotalBytesText(report.byteTotal->bytes) << '\n';
    return report.outcome == TransferOutcome::RanThrough ? kExitOk : kExitFailed;
}

int Pool(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    const CommandStart start = StartCommand(args, {"--json"}, {}, "pool", kPoolUsage, "target", out, err);
    if (start.exitStatus)
        return *start.exitStatus;
    const ParsedArgs& parsed = start.parsed;

    LoadedLevel level;
    TerminalHost host(AnswerPolicy::Batch, in, err);
    PoolOptions options;
    options.confirm = false;
    PoolReport report;
    try {
        report = PoolTargetResources(Absolute(parsed.operands.front()), level, host, options);
    } catch (const std::exception& error) {
        err << ErrorBoxText(error) << '\n';
        return kExitFailed;
    }
    if (report.result != PoolResult::Pooled)
        return kExitFailed;
    if (parsed.flag("--json")) {
        out << "{\"textures\": " << JsonStringArray(level.TextureList.entries())
            << ", \"sounds\": " << JsonStringArray(level.SoundList.entries()) << "}\n";
    } else {
        PrintList(out, "Textures: ", level.TextureList);
        PrintList(out, "Sounds: ", level.SoundList);
    }
    for (const SkippedLevel& skipped : report.skipped)
        err << SkippedLevelText(skipped) << '\n';
    return report.skipped.empty() ? kExitOk : kExitFailed;
}

int Size(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    const CommandStart start = StartCommand(args, {}, {}, "size", kSizeUsage, "folder", out, err);
    if (start.exitStatus)
        return *start.exitStatus;
    const ParsedArgs& parsed = start.parsed;

    const std::string dir = Absolute(parsed.operands.front());
    TerminalHost host(AnswerPolicy::Batch, in, err);
    const ByteTotal total = ShowDirectoryBytes(host, dir, dir, "");
    out << TotalBytesText(total.bytes) << '\n';
    return total.unreadable.empty() ? kExitOk : kExitFailed;
}

}  // namespace corvane::cli
