#pragma once
// The Configure dialog "Configure Corvane": the default paths with their
// browse buttons, OK and Cancel. Created once; every showing fills its fields
// with the settings as they are then.

#include <string>

#include <QDialog>

#include "transfer/host.h"
#include "settings/key_store.h"
#include "settings/settings.h"
#include "ui/directory_chooser.h"

class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane::ui {

class DirectoryChooser;
class TfrmMain;

class TfrmConfig : public QDialog {
    Q_OBJECT
public:
    TfrmConfig(Settings& settings, KeyStore& store, Host& host, TfrmMain& main, DirectoryChooser& chooser);

    // Configure > "Set paths...": shows the dialog and applies what was confirmed.
    void SetPaths();
    // Runs the file dialog titled "Locate Pak Utility" with its file name as it
    // is; true with the chosen file when one was picked.
    bool LocatePakUtility(std::string& chosen);

public slots:
    void FormCreate();
    void AskDefaultPaths();
    void ApplyConfiguredPaths();
    void okButtonClick();
    void btnCancelClick();
    void btnBrowseSrcClick();
    void btnBrowseTargClick();
    void btnBrowsePakEdClick();
    void btnBrowsePellarkClick();
    void btnBrowseBaseGameClick();

private:
    // Puts the settings into the fields.
    void showSettings();
    void browseInto(QLineEdit* field, ChooserPurpose purpose);
    void warnDefaultPaths();

    Settings& settings_;
    KeyStore& store_;
    Host& host_;
    TfrmMain& main_;
    DirectoryChooser& chooser_;

    QLabel* srcLabel_;
    QLineEdit* editSrcPath_;
    QPushButton* btnBrowseSrc_;
    QLabel* targLabel_;
    QLineEdit* editTargPath_;
    QPushButton* btnBrowseTarg_;
    QLabel* pakLabel_;
    QLineEdit* editPakPath_;
    QPushButton* btnBrowsePakEd_;
    QLabel* pellarkLabel_;
    QLineEdit* editPellarkPath_;
    QPushButton* btnBrowsePellark_;
    QLabel* baseGameLabel_;
    QLineEdit* editBaseGamePath_;
    QPushButton* btnBrowseBaseGame_;
    QPushButton* okButton_;
    QPushButton* btnCancel_;
    QFileDialog* dlgOpenPak_;
};

}  // namespace corvane::ui
