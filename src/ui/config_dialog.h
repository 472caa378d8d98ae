#pragma once
// The Configure dialog "Configure Corvane": the four default paths with their
// browse buttons, OK and Cancel. Created once; its fields keep their text
// between showings.

#include <string>

#include <QDialog>

#include "transfer/host.h"
#include "settings/key_store.h"
#include "settings/settings.h"

class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane::ui {

class TForm1;
class TfrmMain;

class TfrmConfig : public QDialog {
    Q_OBJECT
public:
    TfrmConfig(Settings& settings, KeyStore& store, Host& host, TfrmMain& main, TForm1& chooser);

    // Configure > "Set paths...": shows the dialog and applies what was confirmed.
    void SetPaths();
    // Runs the file dialog titled "Locate Pak Utility" with its file name as it
    // is; true with the chosen file when one was picked.
    bool LocatePakUtility(std::string& chosen);

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* btnBrowseSrc;
    QLabel* Label2;
    QLineEdit* Edit2;
    QPushButton* btnBrowseTarg;
    QLabel* Label3;
    QLineEdit* Edit3;
    QPushButton* btnBrowsePakEd;
    QLabel* Label4;
    QLineEdit* Edit4;
    QPushButton* btnBrowsePellark;
    QPushButton* BitBtn1;
    QPushButton* btnCancel;
    QFileDialog* dlgOpenPak;

public slots:
    void FormCreate();
    void AskDefaultPaths();
    void ApplyConfiguredPaths();
    void BitBtn1Click();
    void btnCancelClick();
    void btnBrowseSrcClick();
    void btnBrowseTargClick();
    void btnBrowsePakEdClick();
    void btnBrowsePellarkClick();

private:
    void browseInto(QLineEdit* field, int purpose);
    void warnDefaultPaths();

    Settings& settings_;
    KeyStore& store_;
    Host& host_;
    TfrmMain& main_;
    TForm1& chooser_;
};

}  // namespace corvane::ui
