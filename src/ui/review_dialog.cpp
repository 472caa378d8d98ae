#include "ui/review_dialog.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "platform/shown_name.h"
#include "transfer/byte_total.h"
#include "ui/plan_marks.h"
#include "ui/review_model.h"
#include "ui/text.h"

namespace corvane::ui {

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString Count(std::uint64_t n)
{
    return Q(FormatByteCount(std::to_string(n)));
}

// "1 file missing", "3 files missing".
QString Counted(std::uint64_t n, const char* one, const char* many, const char* what)
{
    return Count(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many) + QLatin1Char(' ') + QLatin1String(what);
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = Named(new QPushButton(caption, parent), name);
    button->setAutoDefault(false);  // Enter in the filter field transfers nothing
    return button;
}

void Colour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace

TfrmReview::TfrmReview(const TransferJob& job, const LoadedLevel& level, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReview"));
    setWindowTitle(QStringLiteral("Review the transfer"));
    setSizeGripEnabled(true);

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        model_ = new ReviewModel(PlanTransfer(job, level), this);
    } catch (...) {
        QGuiApplication::restoreOverrideCursor();
        throw;
    }
    QGuiApplication::restoreOverrideCursor();
    const std::string& target = job.target;
    filter_ = new ReviewFilter(this);
    filter_->setSourceModel(model_);

    lblProblems_ = Named(new QLabel(this), "lblProblems");
    QFont bold = lblProblems_->font();
    bold.setBold(true);
    lblProblems_->setFont(bold);
    lblTarget_ = Named(new QLabel(this), "lblTarget");
    lblTarget_->setWordWrap(true);
    lblTarget_->setTextFormat(Qt::PlainText);
    lblCounts_ = Named(new QLabel(this), "lblCounts");

    editFilter_ = Named(new QLineEdit(this), "editFilter");
    editFilter_->setPlaceholderText(QStringLiteral("Filter by name"));
    editFilter_->setClearButtonEnabled(true);
    chbxOnlyProblems_ = Named(new QCheckBox(QStringLiteral("Only &problems"), this), "chbxOnlyProblems");
    chbxOnlyProblems_->setToolTip(QStringLiteral("Only the files that are missing or refused"));

    treePlan_ = Named(new QTreeView(this), "treePlan");
    treePlan_->setModel(filter_);
    treePlan_->setUniformRowHeights(true);
    treePlan_->setAlternatingRowColors(true);
    treePlan_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    treePlan_->header()->setSortIndicator(-1, Qt::AscendingOrder);  // the transfer's order until a click
    treePlan_->setSortingEnabled(true);
    treePlan_->header()->setStretchLastSection(false);
    treePlan_->header()->setSectionResizeMode(ReviewModel::NameColumn, QHeaderView::Stretch);
    const QFontMetrics metrics(treePlan_->font());
    const int status = metrics.horizontalAdvance(QStringLiteral("9,999 replace, 99 missing"));
    const int date = metrics.horizontalAdvance(QStringLiteral("  00/00/0000 00:00 PM "));
    treePlan_->header()->resizeSection(ReviewModel::StatusColumn, status);
    treePlan_->header()->resizeSection(ReviewModel::SizeColumn, metrics.horizontalAdvance(QStringLiteral("  999,999,999 ")));
    treePlan_->header()->resizeSection(ReviewModel::SourceDateColumn, date);
    treePlan_->header()->resizeSection(ReviewModel::TargetDateColumn, date);
    treePlan_->header()->resizeSection(ReviewModel::DecisionColumn,
                                       metrics.horizontalAdvance(QStringLiteral("Replace 9,999 of 9,999")) + 40);
    treePlan_->expandAll();

    lblDecisions_ = Named(new QLabel(this), "lblDecisions");
    btnReplaceAll_ = Button(this, "btnReplaceAll", QStringLiteral("Replace &all"));
    btnKeepAll_ = Button(this, "btnKeepAll", QStringLiteral("&Keep all"));
    btnReplaceNewer_ = Button(this, "btnReplaceNewer", QStringLiteral("Replace &newer"));
    btnReplaceAll_->setToolTip(QStringLiteral("Replace every file the target has"));
    btnKeepAll_->setToolTip(QStringLiteral("Keep every file the target has"));
    btnReplaceNewer_->setToolTip(QStringLiteral("Back to the presets: replace where the working tree's file is newer"));
    lblDecisionHint_ = Named(new QLabel(this), "lblDecisionHint");
    lblDecisionHint_->setWordWrap(true);
    lblDecisionHint_->setText(QStringLiteral(
        "Replace is preset where the working tree's file is newer than the target's; Keep where the target holds "
        "the same bytes or a file as new or newer. Tick a folder to decide all its files. The transfer asks only "
        "about a file that appears in the target after this review."));
    Colour(lblDecisionHint_, palette().color(QPalette::Disabled, QPalette::WindowText));
    btnTransfer_ = Button(this, "btnTransfer", QStringLiteral("&Transfer"));
    btnCancel_ = Button(this, "btnCancel", QStringLiteral("Cancel"));

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(editFilter_, 1);
    filterRow->addWidget(chbxOnlyProblems_);
    auto* decisionRow = new QHBoxLayout;
    decisionRow->addWidget(lblDecisions_, 1);
    decisionRow->addWidget(btnReplaceAll_);
    decisionRow->addWidget(btnKeepAll_);
    decisionRow->addWidget(btnReplaceNewer_);
    auto* closingRow = new QHBoxLayout;
    closingRow->addWidget(lblDecisionHint_, 1);
    closingRow->addSpacing(12);
    closingRow->addWidget(btnTransfer_, 0, Qt::AlignBottom);
    closingRow->addWidget(btnCancel_, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblProblems_);
    layout->addWidget(lblTarget_);
    layout->addWidget(lblCounts_);
    layout->addLayout(filterRow);
    layout->addWidget(treePlan_, 1);
    layout->addLayout(decisionRow);
    layout->addLayout(closingRow);

    connect(editFilter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_->setNameFilter(text);
        treePlan_->expandAll();
    });
    connect(chbxOnlyProblems_, &QCheckBox::toggled, this, [this](bool only) {
        filter_->setOnlyProblems(only);
        treePlan_->expandAll();
    });
    connect(btnReplaceAll_, &QPushButton::clicked, this, [this] { model_->decideAll(Decision::Replace); });
    connect(btnKeepAll_, &QPushButton::clicked, this, [this] { model_->decideAll(Decision::Keep); });
    connect(btnReplaceNewer_, &QPushButton::clicked, this, [this] { model_->decideByDefault(); });
    connect(model_, &ReviewModel::decisionsChanged, this, [this] { showDecisionCounts(); });
    connect(btnTransfer_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

    switch (model_->plan().target) {
    case PlanTarget::Create:
        lblTarget_->setText(QStringLiteral("The target folder %1 will be made.").arg(Q(ShownName(target))));
        break;
    case PlanTarget::Exists:
        lblTarget_->setText(QStringLiteral("The target folder %1 is there; the transfer goes on into it.")
                                .arg(Q(ShownName(target))));
        break;
    case PlanTarget::Refused:
        lblTarget_->setText(QStringLiteral("A whole drive cannot be the target: %1").arg(Q(ShownName(target))));
        Colour(lblTarget_, StatusColour(PlanStatus::Refused));
        break;
    case PlanTarget::Unreachable:
        lblTarget_->setText(QStringLiteral("The target folder %1 cannot be made: the folder it lies in does not exist.")
                                .arg(Q(ShownName(target))));
        Colour(lblTarget_, StatusColour(PlanStatus::Refused));
        break;
    }
    showCounts();
    showDecisionCounts();

    resize(980, 640);
    treePlan_->setFocus(Qt::OtherFocusReason);
}

const Plan& TfrmReview::plan() const
{
    return model_->plan();
}

Decisions TfrmReview::decisions() const
{
    return model_->decisions();
}

void TfrmReview::showCounts()
{
    const PlanSummary summary = Summarize(model_->plan());
    const std::size_t missing = summary.count(PlanStatus::Missing);
    const std::size_t refused = summary.count(PlanStatus::Refused);
    if (summary.hasProblems()) {
        QStringList problems;
        if (missing > 0)
            problems << Counted(missing, "file", "files", "missing");
        if (refused > 0)
            problems << Counted(refused, "name", "names", "refused");
        lblProblems_->setText(problems.join(QStringLiteral(", ")));
        Colour(lblProblems_, StatusColour(PlanStatus::Missing));
    } else {
        lblProblems_->setText(QStringLiteral("Nothing is missing or refused."));
    }
    QStringList counts;
    for (const PlanStatus status : {PlanStatus::New, PlanStatus::Replace, PlanStatus::Same, PlanStatus::Stock})
        counts << Count(summary.count(status)) + QLatin1Char(' ') + Q(PlanStatusName(status));
    lblCounts_->setText(counts.join(QStringLiteral(", ")));
}

void TfrmReview::showDecisionCounts()
{
    const std::size_t decidable = model_->decidable();
    const QString written = Count(model_->bytesToWrite()) + QStringLiteral(" bytes to write.");
    if (decidable == 0) {
        lblDecisions_->setText(QStringLiteral("The target has none of these files; ") + written);
    } else {
        lblDecisions_->setText(QStringLiteral("Replace %1 of the %2 %3 the target has; ")
                                   .arg(Count(model_->replacing()), Count(decidable),
                                        QLatin1String(decidable == 1 ? "file" : "files")) +
                               written);
    }
    btnReplaceAll_->setEnabled(decidable > 0);
    btnKeepAll_->setEnabled(decidable > 0);
    btnReplaceNewer_->setEnabled(decidable > 0);
}

}  // namespace corvane::ui
