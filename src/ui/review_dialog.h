#pragma once
// The review of a transfer before anything is written: at the top what is
// missing or refused and what becomes of the target folder, what a complete
// release would add that this transfer leaves out (lblNotIncluded) and what
// the compiled level says against its source (lblWarnings, beside a warning
// icon), each shown only when there is something to say; then every file
// of the plan in a tree by kind and folder, and a decision, Replace or Keep,
// for each file the target already has. Transfer accepts the dialog with
// those decisions (the caller runs the transfer); Cancel, Escape and the
// close box change nothing.

#include <QDialog>

#include "transfer/decisions.h"
#include "transfer/plan.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace corvane::ui {

class ReviewFilter;
class ReviewModel;

class TfrmReview : public QDialog {
    Q_OBJECT
public:
    // Plans `job` (with the wait cursor while it looks at the files) and
    // shows the plan.
    TfrmReview(const TransferJob& job, const LoadedLevel& level, QWidget* parent = nullptr);

    const Plan& plan() const;
    Decisions decisions() const;

private:
    void showCounts();
    void showDecisionCounts();

    ReviewModel* model_;
    ReviewFilter* filter_;

    QLabel* lblProblems_;
    QLabel* lblTarget_;
    QLabel* lblCounts_;
    QLabel* lblNotIncluded_;
    QLabel* lblWarningIcon_;
    QLabel* lblWarnings_;
    QLineEdit* editFilter_;
    QCheckBox* chbxOnlyProblems_;
    QTreeView* treePlan_;
    QLabel* lblDecisionHint_;
    QLabel* lblDecisions_;
    QPushButton* btnReplaceAll_;
    QPushButton* btnKeepAll_;
    QPushButton* btnReplaceNewer_;
    QPushButton* btnTransfer_;
    QPushButton* btnCancel_;
};

}  // namespace corvane::ui
