#pragma once
// The real settings store: QSettings in the platform's native format with the
// organisation "Corvane". On Linux that is the INI file Corvane.conf in the
// user's configuration folder ($XDG_CONFIG_HOME, by default ~/.config); on
// Windows the registry key HKEY_CURRENT_USER\Software\Corvane.

#include <memory>
#include <string>

#include "settings/key_store.h"

class QSettings;

namespace corvane {

class QtKeyStore : public KeyStore {
public:
    // The user's own store, where the platform keeps it.
    QtKeyStore();
    // A store in the given INI file (tests, portable installs).
    explicit QtKeyStore(std::string iniFile);
    ~QtKeyStore() override;

    // The file that holds the store ("" for the Windows registry).
    const std::string& fileName() const { return file_; }

    bool OpenKey() override;
    bool CreateKey() override;
    StoredValue QueryValue(const std::string& name) override;
    bool SetValue(const std::string& name, const std::string& text) override;
    bool FlushKey() override;

private:
    std::string file_;
    std::unique_ptr<QSettings> settings_;
};

// The INI file of the user's store on this platform ("" where the store is the registry).
std::string DefaultSettingsFile();

}  // namespace corvane
