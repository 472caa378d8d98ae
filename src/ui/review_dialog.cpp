#include "ui/review_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QDateTime>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

#include "platform/shown_name.h"
#include "transfer/byte_total.h"
#include "ui/plan_marks.h"
#include "ui/review_model.h"
#include "ui/text.h"

namespace corvane::ui {

namespace {

QString Count(std::uint64_t n)
{
    return Q(FormatByteCount(std::to_string(n)));
}

// "1 file", "3 files".
QString Counted(std::uint64_t n, const char* one, const char* many)
{
    return Count(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
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
        model_ = new ReviewModel(PlanTransfer(job, level, PlanBytes::Later), this);
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
    const Plan& plan = model_->plan();
    lblNotIncluded_ = Named(new QLabel(this), "lblNotIncluded");
    lblNotIncluded_->setWordWrap(true);
    if (const std::string line = NotIncludedLine(plan); !line.empty())
        lblNotIncluded_->setText(Q(line) + QStringLiteral(": tick Complete release to ship them"));
    lblNotIncluded_->setVisible(!lblNotIncluded_->text().isEmpty());
    Colour(lblNotIncluded_, StatusColour(PlanStatus::NotIncluded));
    lblWarningIcon_ = Named(new QLabel(this), "lblWarningIcon");
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    lblWarningIcon_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(iconSize, iconSize));
    lblWarnings_ = Named(new QLabel(this), "lblWarnings");
    lblWarnings_->setWordWrap(true);
    lblWarnings_->setTextFormat(Qt::PlainText);
    QStringList warnings;
    for (const std::string& warning : plan.warnings)
        warnings << Q(ShownName(warning));
    lblWarnings_->setText(warnings.join(QLatin1Char('\n')));
    lblWarningIcon_->setVisible(!warnings.isEmpty());
    lblWarnings_->setVisible(!warnings.isEmpty());

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
    // The Status column fits a file's status and what the kinds and folders count (few rows, quickly measured).
    int status = metrics.horizontalAdvance(QStringLiteral("replace (a control character)"));
    QFont boldFont = treePlan_->font();
    boldFont.setBold(true);
    const QFontMetrics boldMetrics(boldFont);
    for (int kind = 0; kind < model_->rowCount(); ++kind) {
        const QModelIndex group = model_->index(kind, ReviewModel::NameColumn);
        status = std::max(status, boldMetrics.horizontalAdvance(group.siblingAtColumn(ReviewModel::StatusColumn).data().toString()));
        for (int row = 0; row < model_->rowCount(group); ++row) {
            const QModelIndex folder = model_->index(row, ReviewModel::StatusColumn, group);
            if (model_->hasChildren(folder.siblingAtColumn(ReviewModel::NameColumn)))
                status = std::max(status, metrics.horizontalAdvance(folder.data().toString()));
        }
    }
    // A longer count is elided; its tooltip has it whole.
    status = std::min(status + 16, metrics.horizontalAdvance(QLatin1Char('x')) * 28);
    const QDateTime late(QDate(2000, 12, 28), QTime(23, 59, 59));
    const int date = metrics.horizontalAdvance(QLocale().toString(late, QLocale::ShortFormat)) + 16;
    // The Kind column, where the plan has what a complete release adds (the classic kinds have groups of their own).
    const bool extras = std::any_of(plan.items.begin(), plan.items.end(),
                                    [](const PlanItem& item) { return !item.neededBy.empty(); });
    treePlan_->setColumnHidden(ReviewModel::KindColumn, !extras);
    treePlan_->header()->resizeSection(ReviewModel::KindColumn, metrics.horizontalAdvance(QStringLiteral("texture")) + 16);
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
    layout->addWidget(lblNotIncluded_);
    auto* warningRow = new QHBoxLayout;
    warningRow->addWidget(lblWarningIcon_, 0, Qt::AlignTop);
    warningRow->addWidget(lblWarnings_, 1);
    layout->addLayout(warningRow);
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
    connect(model_, &ReviewModel::statusesChanged, this, [this] { showCounts(); });
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
        lblTarget_->setText(target.empty()
                                ? QStringLiteral("No target folder is named: the transfer cannot begin.")
                                : QStringLiteral("A whole drive cannot be the target: %1").arg(Q(ShownName(target))));
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

    resize(1060, 660);
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
            problems << Counted(missing, "file", "files") + QStringLiteral(" missing");
        if (refused > 0)
            problems << Counted(refused, "name", "names") + QStringLiteral(" refused");
        lblProblems_->setText(problems.join(QStringLiteral(", ")));
        Colour(lblProblems_, StatusColour(PlanStatus::Missing));
    } else {
        lblProblems_->setText(QStringLiteral("Nothing is missing or refused."));
    }
    // Until its bytes are compared, a file of the target's size counts as neither replace nor same.
    const std::size_t comparing = model_->comparing();
    QStringList counts;
    for (const PlanStatus status : {PlanStatus::New, PlanStatus::Replace, PlanStatus::Same, PlanStatus::Stock}) {
        const std::size_t count = summary.count(status) - (status == PlanStatus::Same ? comparing : 0);
        counts << Count(count) + QLatin1Char(' ') + Q(PlanStatusName(status));
    }
    QString text = counts.join(QStringLiteral(", "));
    if (comparing > 0)
        text += QStringLiteral("; comparing the bytes of ") + Counted(comparing, "file", "files") +
                QStringLiteral("...");
    lblCounts_->setText(text);
    // Transfer follows the decisions on screen, so it waits until every preset is known.
    btnTransfer_->setEnabled(comparing == 0);
    btnTransfer_->setToolTip(comparing == 0 ? QString()
                                            : QStringLiteral("Waiting until the files' bytes have been compared"));
}

void TfrmReview::showDecisionCounts()
{
    const std::size_t decidable = model_->decidable();
    const QString written = Count(model_->bytesToWrite()) + QStringLiteral(" bytes to write.");
    if (decidable == 0) {
        lblDecisions_->setText(QStringLiteral("The target has none of these files; ") + written);
    } else {
        lblDecisions_->setText(QStringLiteral("Replace %1 of the %2 the target has; ")
                                   .arg(Count(model_->replacing()), Counted(decidable, "file", "files")) +
                               written);
    }
    btnReplaceAll_->setEnabled(decidable > 0);
    btnKeepAll_->setEnabled(decidable > 0);
    btnReplaceNewer_->setEnabled(decidable > 0);
}

}  // namespace corvane::ui
