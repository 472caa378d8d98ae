#pragma once
// The Information dialog: the memo memoInfo (the transfer log, or a warning),
// below it the memo memoProblems (what went wrong in the transfer, shown only
// when something did), the check box chbxDontShow with its label lblAgain
// (shown only for the Move warning) and the button "Continue", the only way to
// close it.

#include <string>
#include <vector>

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace corvane::ui {

class TfrmInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget* parent = nullptr);

    // Shows `lines` in memoInfo, and `problems` below them (hidden when empty).
    void setLines(const std::vector<std::string>& lines, const std::vector<std::string>& problems = {});
    // Shows the dialog modally. A dialog that is open beside the main window
    // (from "Display Info") is closed first and then shown modally.
    int showModally();
    // Shows the dialog modally with "Don't show this message again" beside
    // its button; true when that was ticked.
    bool showModallyAskingAgain();

public slots:
    void bbtnOkayClick();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool closing_ = false;

    QPlainTextEdit* memoInfo_;
    QPlainTextEdit* memoProblems_;
    QCheckBox* chbxDontShow_;
    QLabel* lblAgain_;
    QLabel* icon_;
    QPushButton* bbtnOkay_;
};

}  // namespace corvane::ui
