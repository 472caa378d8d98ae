#include "map/load.h"

#include "map/scan.h"

namespace corvane {

bool LoadMapFile(const std::string& path, MainMode mode, LoadedLevel& level, Host& host,
                 std::string* readError, LoadLists lists)
{
    if (mode == ModeMapLoaded) {
        host.setCaption(kWindowTitlePrefix + path);
        level.CurrentMapPath = path;
    }

    for (;;) {
        LevelRead read = ReadLevelLines(path);
        if (read.ok) {
            level.MapLines = std::move(read.lines);
            break;
        }
        if (readError)
            *readError = read.error;
        host.alert(AlertSound::Error);
        const MessageResult answer = host.messageBox(
            {kCantOpenFile, "Error", MessageIcon::None,
             {MessageButton::Abort, MessageButton::Retry, MessageButton::Ignore}});
        if (answer == MessageButton::Retry)
            continue;
        if (answer == MessageButton::Ignore)
            break;
        return false;  // Abort, or the box closed another way
    }

    if (lists == LoadLists::Collect)
        CollectTexturesAndSounds(level);
    else
        ScanTexturesAndSounds(level);
    return true;
}

}  // namespace corvane
