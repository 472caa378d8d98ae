#pragma once
// What the settings tests over real files share.

#include <string>
#include <utility>

#include "settings/settings.h"

namespace corvane::test {

// A main window that takes whatever loading applies to it.
class NoView : public SettingsView {
public:
    void setDrive(char) override {}
    void setDirectory(const std::string&) override {}
    void setTargetField(const std::string&) override {}
};

inline Settings Paths(std::string src, std::string targ, std::string pak, std::string pellark)
{
    Settings settings;
    settings.SrcPath = std::move(src);
    settings.TargPath = std::move(targ);
    settings.PakPath = std::move(pak);
    settings.PellarkPath = std::move(pellark);
    return settings;
}

}  // namespace corvane::test
