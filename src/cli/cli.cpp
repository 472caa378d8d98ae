#include "cli/cli.h"

#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>

#include "cli/archive_commands.h"
#include "cli/common.h"
#include "cli/json.h"
#include "cli/terminal_host.h"
#include "archive/base_game.h"
#include "map/load.h"
#include "map/scan.h"
#include "map/sky.h"
#include "platform/error.h"
#include "platform/shown_name.h"
#include "transfer/stock.h"

namespace corvane::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: corvane-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  scan LEVEL.map [--json] [--base DIR]\n"
    "                            list the custom textures, sounds and sky a level uses\n"
    "  transfer LEVEL.map --target DIR [OPTIONS]\n"
    "                            build a game directory from a level and its resources\n"
    "  check LEVEL.map --target DIR [OPTIONS]\n"
    "                            show what a transfer would do, changing nothing\n"
    "  pool TARGET [--json]      list the resources of every level in TARGET/maps\n"
    "  size DIR                  total the bytes of the files below DIR\n"
    "  pack TARGET --format pak|pk3|pkz [-o FILE]\n"
    "                            pack a game folder into one archive for a release\n"
    "  basegame DIR [--list]     show what the base game in DIR holds\n"
    "\n"
    "Options:\n"
    "  -h, --help                show this help and exit\n"
    "  -V, --version             show the version and exit\n"
    "\n"
    "Exit status: 0 on success, 1 on failure, 2 for wrong arguments, and 3 when a\n"
    "transfer ran through but a file failed, was missing or was refused.\n"
    "\n"
    "With --base DIR (scan, check, transfer), what is the game's own, and so never\n"
    "shipped, is what the base game DIR (such as baseq2) has; without it, the\n"
    "folder names decide (textures in e1u1..e3u3, sounds in world, the game's skies).\n"
    "\n"
    "Run 'corvane-cli COMMAND --help' for a command's own help.\n";

constexpr std::string_view kScanUsage =
    "Usage: corvane-cli scan LEVEL.map [--json] [--base DIR]\n"
    "\n"
    "Reads a level file and prints the custom textures and sounds it uses, each\n"
    "list sorted, and its sky (\"not found\" when it names none).\n"
    "\n"
    "Options:\n"
    "  --base DIR   the base game (such as baseq2): a texture or sound is custom\n"
    "               unless DIR has it (textures/NAME.wal, sound/NAME.wav), whatever\n"
    "               its folder; without it, those in e1u1..e3u3 and world are the\n"
    "               game's own. DIR's warnings go to standard error; a DIR that\n"
    "               cannot be read at all ends the scan with status 1\n"
    "  --json       print one JSON object: {\"textures\": [...], \"sounds\": [...], \"sky\": \"...\"}\n"
    "  -h, --help   show this help and exit\n";

int Scan(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool json = false;
    bool optionsEnded = false;
    std::optional<std::string> levelPath;
    std::optional<std::string> base;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && (arg == "-h" || arg == "--help")) {
            out << kScanUsage;
            return kExitOk;
        }
        if (!optionsEnded && arg == "--json") {
            json = true;
        } else if (!optionsEnded && arg == "--base") {
            if (i + 1 == args.size())
                return UsageError(err, "scan: option '--base' needs a value", kScanUsage);
            base = args[++i];
        } else if (!optionsEnded && arg.rfind("--base=", 0) == 0) {
            base = arg.substr(7);
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
            return UsageError(err, "scan: unknown option '" + arg + "'", kScanUsage);
        } else if (levelPath) {
            return UsageError(err, "scan: more than one level named", kScanUsage);
        } else {
            levelPath = arg;
        }
    }
    if (!levelPath || levelPath->empty())
        return UsageError(err, "scan: no level named", kScanUsage);
    if (base && base->empty())
        return UsageError(err, "scan: --base needs a folder", kScanUsage);

    LoadedLevel level;
    if (!LoadLevel(*levelPath, level, err))
        return kExitFailed;
    std::string basePath;
    if (!ApplyBaseGame(base, "scan", level, basePath, err))
        return kExitFailed;
    const std::string sky = FindSkyCaption(level.MapLines);

    if (json) {
        out << "{\"textures\": " << JsonStringArray(level.TextureList.entries())
            << ", \"sounds\": " << JsonStringArray(level.SoundList.entries())
            << ", \"sky\": " << JsonString(sky) << "}\n";
    } else {
        PrintList(out, "Textures: ", level.TextureList);
        PrintList(out, "Sounds: ", level.SoundList);
        out << "Sky: " << ShownName(sky) << '\n';
    }
    return kExitOk;
}

}  // namespace

int UsageError(std::ostream& err, std::string_view problem, std::string_view usage)
{
    err << kProgram << ": " << problem << "\n" << usage;
    return kExitUsage;
}

std::string Absolute(const std::string& path)
{
    std::error_code ec;
    auto full = std::filesystem::absolute(path, ec);
    if (ec)
        return path;
    full = full.lexically_normal();
    std::string text = full.string();
    while (text.size() > 1 && (text.back() == '/' || text.back() == '\\'))
        text.pop_back();
    return text;
}

void PrintList(std::ostream& out, std::string_view heading, const ResourceList& list)
{
    out << heading << list.size() << '\n';
    for (const std::string& name : list)
        out << ShownName(name) << '\n';
}

bool LoadLevel(const std::string& levelPath, LoadedLevel& level, std::ostream& err)
{
    // Nobody is asked while loading: a file that cannot be read is given up at once.
    const auto giveUp = [](const std::string&) { return ReadFailureAnswer::Abort; };
    try {
        const LevelLoad load = LoadMapFile(Absolute(levelPath), level, giveUp);
        if (!load.scanned) {
            err << kProgram << ": can't open file '" << ShownName(levelPath) << "': " << load.readError << '\n';
            return false;
        }
    } catch (const std::exception& error) {
        err << ErrorBoxText(error) << '\n';
        return false;
    }
    return true;
}

bool ApplyBaseGame(const std::optional<std::string>& base, std::string_view command, LoadedLevel& level,
                   std::string& basePath, std::ostream& err)
{
    if (!base)
        return true;
    basePath = Absolute(*base);
    const std::shared_ptr<const BaseGameIndex> index = SharedBaseGame(basePath);
    for (const ArchiveWarning& warning : index->warnings())
        err << kProgram << ": warning: " << warning.text() << '\n';
    if (!index->ok()) {
        err << kProgram << ": " << command << ": can't read the base game '" << ShownName(*base) << "'\n";
        return false;
    }
    ApplyStockRule(level, StockRule(index));
    return true;
}

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err)
{
    if (args.empty())
        return UsageError(err, "no command given", kUsage);
    const std::string& command = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "-h" || command == "--help" || command == "help") {
        out << kUsage;
        return kExitOk;
    }
    if (command == "-V" || command == "--version") {
        out << kProgram << ' ' << CORVANE_VERSION << '\n';
        return kExitOk;
    }
    if (command == "scan")
        return Scan(rest, out, err);
    if (command == "transfer")
        return Transfer(rest, in, out, err);
    if (command == "check")
        return Check(rest, out, err);
    if (command == "pool")
        return Pool(rest, in, out, err);
    if (command == "size")
        return Size(rest, in, out, err);
    if (command == "pack")
        return Pack(rest, out, err);
    if (command == "basegame")
        return BaseGame(rest, out, err);
    return UsageError(err, "unknown command '" + command + "'", kUsage);
}

}  // namespace corvane::cli
