#pragma once
// The directory chooser "Set Game Directory": a drive box and a folder list on
// the left, the path field editDir on the right. It is opened for a purpose
// (the source, target, Pellark or base game folder), opens on that purpose's stored
// folder when there is one and otherwise where it was left, and gives back the
// folder in its path field when closed with OK.

#include <optional>
#include <string>

#include <QDialog>

#include "settings/settings.h"
#include "transfer/host.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane::ui {

class DriveBox;
class DirectoryList;

// Why the chooser is open. The values are those the program has always used
// for the first three purposes; the base game's folder came later.
enum class ChooserPurpose : int { Source = 0, Target = 1, Pellark = 8, BaseGame = 16 };

class DirectoryChooser : public QDialog {
    Q_OBJECT
public:
    DirectoryChooser(const Settings& settings, Host& host, QWidget* parent = nullptr);

    // Shows the chooser modally for `purpose`; the folder in its path field
    // when it was closed with OK, nothing when it was cancelled.
    std::optional<std::string> choose(ChooserPurpose purpose);
    // The purpose of the present (or last) showing.
    ChooserPurpose purpose() const { return purpose_; }

    // The title of each purpose.
    static const char* TitleOf(ChooserPurpose purpose);

public slots:
    void FormShow();
    void folderListChange();
    void okButtonClick();
    void cancelButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const Settings& settings_;
    Host& host_;
    ChooserPurpose purpose_ = ChooserPurpose::Source;

    DriveBox* driveBox_;
    DirectoryList* folderList_;
    QLabel* pathLabel_;
    QLineEdit* editDir_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

}  // namespace corvane::ui
