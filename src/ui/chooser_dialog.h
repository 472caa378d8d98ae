#pragma once
// The directory chooser "Set Game Directory": a drive box and a directory list
// on the left, the path field editDir on the right. Why it is open (source,
// target or Pellark directory) travels in the main window's mode: whoever
// opens it saves the mode, stores the purpose in it, shows the chooser
// modally and puts the saved mode back as soon as it closes.

#include <QDialog>

#include "transfer/host.h"
#include "settings/settings.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane::ui {

class DriveBox;
class DirectoryList;

enum ChooserPurpose : int { PurposeSource = 0, PurposeTarget = 1, PurposePellark = 8 };

class TForm1 : public QDialog {
    Q_OBJECT
public:
    // `mainMode` is the main window's mode, read when the chooser is shown.
    TForm1(const int& mainMode, const Settings& settings, Host& host, QWidget* parent = nullptr);

    // The title of each purpose; "" for a value that is none.
    static const char* TitleOf(int purpose);

    DriveBox* DriveComboBox1;
    DirectoryList* DirectoryListBox1;
    QLabel* Label1;
    QLineEdit* editDir;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

public slots:
    void FormShow();
    void DirectoryListBox1Change();
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const int& mainMode_;
    const Settings& settings_;
    Host& host_;
};

// Opens the chooser for a purpose with the calling protocol above; `saved`
// receives the mode while the chooser is open. True when it closed with OK.
bool RunChooser(TForm1& chooser, int& mainMode, int& saved, int purpose);

}  // namespace corvane::ui
