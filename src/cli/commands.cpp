// corvane-cli transfer, pool and size.

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/common.h"
#include "cli/json.h"
#include "cli/plan_output.h"
#include "cli/terminal_host.h"
#include "map/sky.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/shown_name.h"
#include "transfer/byte_total.h"
#include "pool/pooling.h"
#include "transfer/command.h"
#include "transfer/plan.h"

namespace corvane::cli {

namespace {

constexpr std::string_view kTransferUsage =
    "Usage: corvane-cli transfer LEVEL.map --target DIR [--source-dir DIR] [--move] [--sky]\n"
    "                            [--complete] [--pellark DIR] [--base DIR]\n"
    "                            [--overwrite ask|all|none]\n"
    "\n"
    "Builds the game directory DIR from the level: DIR/maps with the level and its\n"
    ".bsp, and the custom textures, sounds and (with --sky) sky images the level\n"
    "uses, taken from the textures, sound and env folders beside the source folder.\n"
    "The transfer log goes to standard output; questions and messages go to\n"
    "standard error, followed by the target's byte total and, when something\n"
    "failed, was missing or was refused, a summary of the problems with the\n"
    "reason for each, and what the compiled level says against its source.\n"
    "A name the working tree has only in another letter case is found and shipped\n"
    "under the name the level writes.\n"
    "\n"
    "Options:\n"
    "  --target DIR          the game directory to build (required)\n"
    "  --source-dir DIR      the folder of level sources (default: the level's folder)\n"
    "  --move                move the resources and the .bsp instead of copying them\n"
    "  --sky                 include the level's sky images\n"
    "  --complete            a complete release: also the animation frames, true-colour\n"
    "                        images and sidecars of the textures, the models and skins\n"
    "                        and the sounds and pictures that entities name\n"
    "  --pellark DIR         also copy the base game tree DIR into the target\n"
    "  --base DIR            the base game (such as baseq2): what it has is the game's\n"
    "                        own and is not shipped, whatever its folder (textures/,\n"
    "                        sound/, env/ for the sky); without it the folder names\n"
    "                        decide (e1u1..e3u3, world, the game's sky names). A DIR\n"
    "                        that cannot be read at all ends the command with status 1\n"
    "  --overwrite ask       ask on standard input before replacing a file (default):\n"
    "                        yes, no, all (Yes to All), none (No to All), ok, cancel\n"
    "  --overwrite all       replace existing files without asking\n"
    "  --overwrite none      keep existing files without asking\n"
    "  -h, --help            show this help and exit\n"
    "\n"
    "Exit status: 0 when the transfer ran through and nothing went wrong; 1 when\n"
    "it ended early (the target could not be prepared or a resource folder could\n"
    "not be created) or the level or the base game cannot be read; 2 for wrong\n"
    "arguments; 3 when it ran through but a file failed, was missing or was refused.\n";

constexpr std::string_view kCheckUsage =
    "Usage: corvane-cli check LEVEL.map --target DIR [--source-dir DIR] [--sky] [--complete]\n"
    "                         [--pellark DIR] [--base DIR] [--json]\n"
    "\n"
    "Shows what 'corvane-cli transfer' would do with the same options, and changes\n"
    "nothing: one line per file it would touch, in its order, as STATUS  KIND  NAME,\n"
    "then a summary with the count of each status and the bytes it would write.\n"
    "\n"
    "Statuses: new (not in the target), replace (in the target, other content),\n"
    "same (in the target, the same bytes), missing (not in the working tree),\n"
    "stock (the game's own, left out), refused (a name the transfer refuses; the\n"
    "reason follows in parentheses), not-included (a complete release would add it).\n"
    "Kinds: level, bsp, sky, texture, sound, pellark, and for a complete release\n"
    "frame, image, model and skin, each followed by 'for' and what needs it.\n"
    "Warnings about the compiled level follow the summary.\n"
    "\n"
    "Options:\n"
    "  --target DIR          the game directory (it need not exist)\n"
    "  --source-dir DIR      the folder of level sources (default: the level's folder)\n"
    "  --sky                 include the level's sky images\n"
    "  --complete            plan a complete release (see 'transfer --help'); without it\n"
    "                        what it would add is listed as not-included\n"
    "  --pellark DIR         include the base game tree DIR\n"
    "  --base DIR            the base game: what it has is stock (see 'transfer --help')\n"
    "  --json                print one JSON object: {\"items\": [...], \"summary\": {...}}\n"
    "  -h, --help            show this help and exit\n"
    "\n"
    "Exit status: 0 when nothing is missing or refused; 1 when something is, when\n"
    "the transfer could not begin (the target is a whole drive, or its parent\n"
    "folder does not exist) or the level or the base game cannot be read; 2 for\n"
    "wrong arguments.\n";

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

// The level and the transfer that a command's arguments describe (the level,
// --target, --source-dir, --sky, --pellark and --move), or the exit status to
// end with.
struct JobStart {
    LoadedLevel level;
    TransferJob job;
    std::optional<int> exitStatus;
};

JobStart StartJob(const ParsedArgs& parsed, std::string_view command, std::string_view usage, std::ostream& err)
{
    JobStart start;
    const std::string prefix = std::string(command) + ": ";
    const std::optional<std::string> target = parsed.value("--target");
    const std::optional<std::string> sourceDir = parsed.value("--source-dir");
    const std::optional<std::string> pellark = parsed.value("--pellark");
    if (!target || target->empty())
        start.exitStatus = UsageError(err, prefix + "no target named (--target DIR)", usage);
    else if (sourceDir && sourceDir->empty())
        start.exitStatus = UsageError(err, prefix + "--source-dir needs a folder", usage);
    else if (pellark && pellark->empty())
        start.exitStatus = UsageError(err, prefix + "--pellark needs a folder", usage);
    else if (const std::optional<std::string> base = parsed.value("--base"); base && base->empty())
        start.exitStatus = UsageError(err, prefix + "--base needs a folder", usage);
    else if (!LoadLevel(parsed.operands.front(), start.level, err) ||
             !ApplyBaseGame(parsed.value("--base"), command, start.level, start.job.basePath, err))
        start.exitStatus = kExitFailed;
    if (start.exitStatus)
        return start;

    TransferJob& job = start.job;
    job.currentMapPath = Absolute(parsed.operands.front());
    job.target = Absolute(*target);
    job.targPath = job.target;
    job.srcPath = sourceDir ? Absolute(*sourceDir) : ParentPath(job.currentMapPath);
    job.mode = parsed.flag("--move") ? TransferMode::Move : TransferMode::Copy;
    job.includeSky = parsed.flag("--sky");
    job.complete = parsed.flag("--complete");
    job.skyName = FindSkyCaption(start.level.MapLines);
    job.includePellark = pellark.has_value();
    if (pellark)
        job.pellarkPath = Absolute(*pellark);
    return start;
}

}  // namespace

int Transfer(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err)
{
    const CommandStart start =
        StartCommand(args, {"--move", "--sky", "--complete"}, {"--target", "--source-dir", "--pellark", "--base", "--overwrite"},
                     "transfer", kTransferUsage, "level", out, err);
    if (start.exitStatus)
        return *start.exitStatus;
    const ParsedArgs& parsed = start.parsed;

    AnswerPolicy policy = AnswerPolicy::Ask;
    if (const auto overwrite = parsed.value("--overwrite")) {
        if (*overwrite == "all")
            policy = AnswerPolicy::All;
        else if (*overwrite == "none")
            policy = AnswerPolicy::None;
        else if (*overwrite != "ask")
            return UsageError(err, "transfer: --overwrite takes ask, all or none", kTransferUsage);
    }
    const JobStart described = StartJob(parsed, "transfer", kTransferUsage, err);
    if (described.exitStatus)
        return *described.exitStatus;
    const TransferJob& job = described.job;
    const LoadedLevel& level = described.level;

    TerminalHost host(policy, in, err);
    TransferLog log;
    log.setListener([&out](const std::string& line) { out << line << '\n' << std::flush; });
    TransferSession session;
    TransferReport report;
    try {
        report = RunTransferCommand(job, level, session, log, host);
    } catch (const std::exception& error) {
        err << kProgram << ": " << ErrorBoxText(error) << '\n';
        return kExitFailed;
    }
    if (report.byteTotal)
        err << TotalBytesText(report.byteTotal->bytes) << '\n';
    for (const std::string& line : ProblemSummary(report))
        err << line << '\n';
    for (const std::string& line : WarningLines(report))
        err << line << '\n';
    if (report.outcome != TransferOutcome::RanThrough)
        return kExitFailed;
    return report.hasProblems() ? kExitProblems : kExitOk;
}

int Check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const CommandStart start = StartCommand(args, {"--sky", "--complete", "--json"}, {"--target", "--source-dir", "--pellark", "--base"},
                                            "check", kCheckUsage, "level", out, err);
    if (start.exitStatus)
        return *start.exitStatus;
    const JobStart described = StartJob(start.parsed, "check", kCheckUsage, err);
    if (described.exitStatus)
        return *described.exitStatus;

    const Plan plan = PlanTransfer(described.job, described.level);
    const PlanSummary summary = Summarize(plan);
    if (start.parsed.flag("--json"))
        out << PlanJson(plan, summary);
    else
        out << PlanText(plan, summary);

    const std::string target = ShownName(described.job.target);
    if (plan.target == PlanTarget::Refused)
        err << kProgram << ": check: " << target << " is a whole drive; the transfer would refuse it\n";
    else if (plan.target == PlanTarget::Unreachable)
        err << kProgram << ": check: " << target << " cannot be made: its parent folder does not exist\n";
    const bool begins = plan.target == PlanTarget::Create || plan.target == PlanTarget::Exists;
    return begins && !summary.hasProblems() ? kExitOk : kExitFailed;
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
