// corvane-cli basegame: what the base game holds, as Corvane reads it.

#include <ostream>

#include "archive/base_game.h"
#include "cli/archive_commands.h"
#include "cli/cli.h"
#include "cli/common.h"
#include "transfer/byte_total.h"

namespace corvane::cli {

namespace {

constexpr std::string_view kBaseGameUsage =
    "Usage: corvane-cli basegame DIR [--list]\n"
    "\n"
    "Reads the base game in DIR (the game's own folder, such as baseq2): its loose\n"
    "files, every pak*.pak and every .pk3 and .pkz in it. Prints how many files\n"
    "each place gives, the place that wins first: loose files, then the zips (the\n"
    "last by name first), then the paks (the highest number first). Damaged\n"
    "archives and files left out are reported on standard error.\n"
    "\n"
    "Options:\n"
    "  --list       print every file name instead, sorted, one per line\n"
    "  -h, --help   show this help and exit\n";

// "1 file", "2,000 files"
std::string Files(std::size_t n)
{
    return FormatByteCount(std::to_string(n)) + (n == 1 ? " file" : " files");
}

}  // namespace

int BaseGame(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const OptionArgs parsed = SplitOptions(args, {"--list"}, {});
    if (parsed.help) {
        out << kBaseGameUsage;
        return kExitOk;
    }
    if (!parsed.problem.empty())
        return UsageError(err, "basegame: " + parsed.problem, kBaseGameUsage);
    if (parsed.operands.size() != 1 || parsed.operands.front().empty())
        return UsageError(err, "basegame: name exactly one folder", kBaseGameUsage);

    const BaseGameIndex index = BaseGameIndex::Load(Absolute(parsed.operands.front()));
    for (const ArchiveWarning& warning : index.warnings())
        err << kProgram << ": warning: " << warning.text() << '\n';
    if (!index.ok())
        return kExitFailed;
    if (parsed.has("--list")) {
        for (const BaseGameFile* file : index.Files())
            out << file->name << '\n';
        return kExitOk;
    }
    out << "Loose: " << Files(index.looseFiles()) << '\n';
    for (const BaseGameArchive& archive : index.archives()) {
        out << archive.path << ": ";
        if (archive.refused)
            out << "refused\n";
        else if (archive.taken == archive.listed)
            out << Files(archive.listed) << '\n';
        else
            out << Files(archive.listed) << ", " << FormatByteCount(std::to_string(archive.listed - archive.taken))
                << " of them found before it\n";
    }
    out << "In all: " << Files(index.size()) << '\n';
    return kExitOk;
}

}  // namespace corvane::cli
