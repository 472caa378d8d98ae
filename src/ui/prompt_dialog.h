#pragma once
// The reusable overwrite prompt "File Exists!": an icon, the memo memoStatus
// and four buttons. Each use sets the caption, the lines, which buttons are
// visible and the captions of bbtnYes and bbtnNoAll. No button is the default
// one: Enter presses the focused button, and each use opens with the focus on
// its safest button (No, else Cancel, else a notice's only button), never on a
// "to All" or Yes. Escape presses the first visible cancel-style button
// (bbtnNo, then bbtnNoAll); there is no close box.

#include <QDialog>

#include "transfer/host.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace corvane::ui {

class TfrmMyMsg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMyMsg(QWidget* parent = nullptr);

    // Shows the dialog modally for one use and returns the answer.
    OverwriteAnswer ShowPrompt(const PromptRequest& request);

public slots:
    void bbtnYesClick();
    void bbtnNoClick();
    void bbtnYesAllClick();
    void bbtnNoAllClick();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void answer(OverwriteAnswer value);
    QPushButton* safestButton(const PromptRequest& request) const;
    void fitMemo();
    OverwriteAnswer answer_ = OverwriteAnswer::No;
    bool answered_ = false;

    QLabel* icon_;
    QPlainTextEdit* memoStatus_;
    QPushButton* bbtnYes_;
    QPushButton* bbtnNo_;
    QPushButton* bbtnYesAll_;
    QPushButton* bbtnNoAll_;
};

}  // namespace corvane::ui
