#include "settings/settings.h"

#include "platform/error.h"
#include "platform/paths.h"

namespace corvane {

namespace {

// Releases (and flushes) the open key however the operation ends.
class KeyRelease {
public:
    explicit KeyRelease(KeyStore& store) : store_(store) {}
    ~KeyRelease() { store_.FlushKey(); }
    KeyRelease(const KeyRelease&) = delete;
    KeyRelease& operator=(const KeyRelease&) = delete;

private:
    KeyStore& store_;
};

std::string Quoted(const char* format, const std::string& name)
{
    std::string text(format);
    text.replace(text.find("%s"), 2, name);
    return text;
}

std::string ReadString(KeyStore& store, const std::string& name)
{
    StoredValue value = store.QueryValue(name);
    switch (value.kind) {
    case ValueKind::Missing:
        return {};
    case ValueKind::OtherType:
        throw Error(Quoted("Invalid data type for '%s'", name));
    case ValueKind::Unreadable:
        throw Error(Quoted("Failed to get data for '%s'", name));
    case ValueKind::String:
        break;
    }
    // The text of a stored string ends at its first NUL.
    if (const auto nul = value.text.find('\0'); nul != std::string::npos)
        value.text.resize(nul);
    return value.text;
}

}  // namespace

void WriteSettingValue(KeyStore& store, const std::string& name, const std::string& text)
{
    if (!store.SetValue(name, text))
        throw Error(Quoted("Failed to set data for '%s'", name));
}

void LoadSettings(Settings& settings, KeyStore& store, SettingsView& view)
{
    if (!store.OpenKey())
        return;
    KeyRelease release(store);

    settings.SrcPath = ReadString(store, kSrcPathValue);
    if (settings.SrcPath.size() >= 4) {
        settings.SourceDrive = DriveCharacter(settings.SrcPath);
        view.setDrive(settings.SourceDrive);
        view.setDirectory(settings.SrcPath);
    }

    settings.TargPath = ReadString(store, kTargPathValue);
    if (settings.TargPath.size() >= 3) {
        settings.TargetDrive = DriveCharacter(settings.TargPath);
        view.setTargetField(settings.TargPath);
    }

    settings.PakPath = ReadString(store, kPakPathValue);

    settings.PellarkPath = ReadString(store, kPellarkPathValue);
    if (settings.PellarkPath.size() >= 3)
        settings.PellarkDrive = DriveCharacter(settings.PellarkPath);

    settings.BaseGamePath = ReadString(store, kBaseGamePathValue);
    settings.CompleteRelease = ReadString(store, kCompleteReleaseValue) == "1";
}

void SaveSettings(const Settings& settings, KeyStore& store)
{
    if (!store.CreateKey())
        return;
    KeyRelease release(store);
    WriteSettingValue(store, kSrcPathValue, settings.SrcPath);
    WriteSettingValue(store, kTargPathValue, settings.TargPath);
    WriteSettingValue(store, kPakPathValue, settings.PakPath);
    WriteSettingValue(store, kPellarkPathValue, settings.PellarkPath);
    WriteSettingValue(store, kBaseGamePathValue, settings.BaseGamePath);
    WriteSettingValue(store, kCompleteReleaseValue, settings.CompleteRelease ? "1" : "0");
}

}  // namespace corvane
