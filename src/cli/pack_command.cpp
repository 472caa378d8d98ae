// corvane-cli pack: a game folder as one archive for a release.

#include <algorithm>
#include <ostream>

#include "archive/pack.h"
#include "cli/archive_commands.h"
#include "cli/cli.h"
#include "cli/common.h"
#include "platform/paths.h"
#include "transfer/byte_total.h"

namespace corvane::cli {

namespace {

constexpr std::string_view kPackUsage =
    "Usage: corvane-cli pack TARGET --format pak|pk3|pkz [-o FILE] [--with-sources] [--force]\n"
    "\n"
    "Packs the game folder TARGET into one archive: every file below it except\n"
    "the .map sources and names that begin with \".\". Entries are sorted by name\n"
    "and carry a fixed time, so packing the same files again gives the same bytes.\n"
    "\n"
    "Options:\n"
    "  --format pak       a pak (names of 55 bytes at most); by default TARGET/pak0.pak\n"
    "  --format pk3       a zip compressed with deflate; by default TARGET.pk3 beside TARGET\n"
    "  --format pkz       the same zip, by default TARGET.pkz\n"
    "  -o, --output FILE  write the archive to FILE (--format may then be left out\n"
    "                     when FILE ends in .pak, .pk3 or .pkz)\n"
    "  --with-sources     also pack the .map sources\n"
    "  --force            replace FILE when it exists\n"
    "  -h, --help         show this help and exit\n";

std::string Extension(const std::string& path)
{
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return AsciiLower(path.substr(dot + 1));
}

}  // namespace

bool OptionArgs::has(const std::string& name) const
{
    return value(name) != nullptr;
}

const std::string* OptionArgs::value(const std::string& name) const
{
    const std::string* found = nullptr;
    for (const auto& [option, text] : options) {
        if (option == name)
            found = &text;
    }
    return found;
}

OptionArgs SplitOptions(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                        const std::vector<std::string>& valued)
{
    OptionArgs parsed;
    auto among = [](const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size() && parsed.problem.empty(); ++i) {
        const std::string& arg = args[i];
        const auto equals = arg.find('=');
        if (optionsEnded || arg.size() < 2 || arg.front() != '-')
            parsed.operands.push_back(arg);
        else if (arg == "--")
            optionsEnded = true;
        else if (arg == "-h" || arg == "--help")
            parsed.help = true;
        else if (among(flags, arg))
            parsed.options.emplace_back(arg, "");
        else if (equals != std::string::npos && among(valued, arg.substr(0, equals)))
            parsed.options.emplace_back(arg.substr(0, equals), arg.substr(equals + 1));
        else if (among(valued, arg) && i + 1 < args.size())
            parsed.options.emplace_back(arg, args[++i]);
        else if (among(valued, arg))
            parsed.problem = "option '" + arg + "' needs a value";
        else
            parsed.problem = "unknown option '" + arg + "'";
    }
    return parsed;
}

int Pack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    OptionArgs parsed = SplitOptions(args, {"--with-sources", "--force"}, {"--format", "-o", "--output"});
    if (parsed.help) {
        out << kPackUsage;
        return kExitOk;
    }
    if (!parsed.problem.empty())
        return UsageError(err, "pack: " + parsed.problem, kPackUsage);
    if (parsed.operands.empty() || parsed.operands.front().empty())
        return UsageError(err, "pack: no target folder named", kPackUsage);
    if (parsed.operands.size() > 1)
        return UsageError(err, "pack: name exactly one target folder", kPackUsage);

    const std::string* output = parsed.value("--output");
    if (const std::string* shortOutput = parsed.value("-o"))
        output = shortOutput;
    if (output && output->empty())
        return UsageError(err, "pack: -o needs a file name", kPackUsage);
    std::optional<ArchiveFormat> format;
    if (const std::string* name = parsed.value("--format")) {
        format = ArchiveFormatFromName(*name);
        if (!format)
            return UsageError(err, "pack: --format takes pak, pk3 or pkz", kPackUsage);
    } else if (output) {
        format = ArchiveFormatFromName(Extension(*output));
    }
    if (!format)
        return UsageError(err, "pack: no format named (--format pak, pk3 or pkz)", kPackUsage);

    const std::string folder = Absolute(parsed.operands.front());
    const std::string archive = output ? Absolute(*output) : DefaultArchivePath(folder, *format);
    PackOptions options;
    options.format = *format;
    options.withSources = parsed.has("--with-sources");
    options.force = parsed.has("--force");
    const PackResult result = PackFolder(folder, archive, options);
    for (const ArchiveWarning& warning : result.warnings)
        err << kProgram << ": warning: " << warning.text() << '\n';
    for (const std::string& error : result.errors)
        err << kProgram << ": " << error << '\n';
    if (!result.ok)
        return kExitFailed;
    out << archive << ": " << FormatByteCount(std::to_string(result.entries)) << " files, "
        << FormatByteCount(std::to_string(result.bytes)) << " bytes\n";
    return kExitOk;
}

}  // namespace corvane::cli
