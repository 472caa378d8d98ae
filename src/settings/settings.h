#pragma once
// The program's default paths, kept between runs in a KeyStore.

#include <string>

#include "settings/key_store.h"

namespace corvane {

struct Settings {
    std::string SrcPath;      // where the user keeps .map files
    std::string TargPath;     // the target game directory
    std::string PakPath;      // the pak utility's executable
    std::string PellarkPath;  // the Pellark tree's root
    // The game's own folder (such as baseq2), which holds its pak0.pak; ""
    // when not set. Settings written before it existed lack it.
    std::string BaseGamePath;
    // Whether a transfer ships everything the game loads with the level
    // (animation frames, true-colour images, models and their skins): stored
    // as "1" or "0"; settings without it read as off.
    bool CompleteRelease = false;
    // First characters of the paths, taken when the paths are loaded or configured;
    // NUL until then.
    char SourceDrive = '\0';
    char TargetDrive = '\0';
    char PellarkDrive = '\0';
};

// The names of the stored values, in the order they are written.
inline constexpr const char* kSrcPathValue = "SrcPath";
inline constexpr const char* kTargPathValue = "TargPath";
inline constexpr const char* kPakPathValue = "PakPath";
inline constexpr const char* kPellarkPathValue = "PellarkPath";
inline constexpr const char* kBaseGamePathValue = "BaseGamePath";
inline constexpr const char* kCompleteReleaseValue = "CompleteRelease";

// What loading the settings applies to the main window: its drive box, its
// directory list and its target field. Any of these may throw (pointing the
// browser at a directory that does not exist does); the load ends there.
class SettingsView {
public:
    virtual ~SettingsView() = default;
    virtual void setDrive(char drive) = 0;
    virtual void setDirectory(const std::string& path) = 0;
    virtual void setTargetField(const std::string& text) = 0;
};

// Reads the stored paths into settings and applies them to the view. A missing
// key leaves everything as it was; a missing value reads as "". Throws Error
// ("Invalid data type for '%s'", "Failed to get data for '%s'") at the first
// value that cannot be taken; the values before it keep their new contents.
void LoadSettings(Settings& settings, KeyStore& store, SettingsView& view);

// Writes one value into the open key. Throws Error ("Failed to set data for
// '%s'") when it cannot be written.
void WriteSettingValue(KeyStore& store, const std::string& name, const std::string& text);

// Writes the five paths and the complete-release switch. A key that can be neither opened nor created writes
// nothing and reports nothing. Throws Error ("Failed to set data for '%s'") at
// the first value that cannot be written.
void SaveSettings(const Settings& settings, KeyStore& store);

}  // namespace corvane
