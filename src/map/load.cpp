#include "map/load.h"

#include "map/scan.h"

namespace corvane {

LevelLoad LoadMapFile(const std::string& path, LoadedLevel& level, const ReadFailureHandler& onReadFailure,
                      LoadLists lists)
{
    LevelLoad load;
    for (;;) {
        LevelRead read = ReadLevelLines(path);
        if (read.ok) {
            level.MapLines = std::move(read.lines);
            break;
        }
        load.readError = read.error;
        const ReadFailureAnswer answer = onReadFailure(read.error);
        if (answer == ReadFailureAnswer::Retry)
            continue;
        if (answer == ReadFailureAnswer::Ignore)
            break;
        return load;
    }

    if (lists == LoadLists::Collect)
        CollectTexturesAndSounds(level);
    else
        ScanTexturesAndSounds(level);
    load.scanned = true;
    return load;
}

}  // namespace corvane
