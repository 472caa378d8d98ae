#include "map/load.h"

#include "map/scan.h"
#include "platform/files.h"

namespace corvane {

bool LoadMapFile(const std::string& path, MainMode mode, LoadedLevel& level, Host& host,
                 std::string* readError)
{
    if (mode == ModeMapLoaded) {
        host.setCaption(kWindowTitlePrefix + path);
        level.CurrentMapPath = path;
    }

    for (;;) {
        ReadResult read = ReadWholeFile(path);
        if (read.ok) {
            level.MapLines = LevelLines::FromText(std::move(read.data));
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

    ScanTextures(level);
    ScanSounds(level);
    return true;
}

}  // namespace corvane
