#pragma once
// The plan of a transfer as a tree for the review: the kinds (the level's
// files, the sky, textures, sounds, models, the Pellark tree), below the resources and
// the Pellark tree their folders, and below those the files, each with its
// status, size, dates and, where the transfer would ask before replacing the
// target, the decision Replace or Keep. The decision is the check box of its
// column: a folder's or a kind's box decides every file below it at once and
// shows whether they agree.
//
// A plan made with PlanBytes::Later is shown at once; the bytes of the files
// it left pending are compared meanwhile on a thread of their own, and each
// such file takes its status (and, unless someone decided it already, its
// preset decision) when its comparison is in.

#include <cstdint>
#include <memory>
#include <vector>

#include <QAbstractItemModel>
#include <QIcon>
#include <QSortFilterProxyModel>

#include "transfer/decisions.h"
#include "transfer/plan.h"

namespace corvane::ui {

class ReviewModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // The Kind column says what a file is ("texture", "frame", "skin"); for
    // what a complete release adds, its tooltip and the name's say what needs
    // it ("Needed by: w/water1.wal", "Needed by: an entity of the level").
    enum Column { NameColumn, KindColumn, StatusColumn, SizeColumn, SourceDateColumn, TargetDateColumn,
                  DecisionColumn, ColumnCount };
    // What the columns sort by: names as text, sizes and dates as numbers.
    static constexpr int SortRole = Qt::UserRole + 1;
    // True for a file that is missing or refused.
    static constexpr int ProblemRole = Qt::UserRole + 2;

    explicit ReviewModel(Plan plan, QObject* parent = nullptr);
    ~ReviewModel() override;

    const Plan& plan() const { return plan_; }
    Decisions decisions() const;
    // Decides every file below `index` (a file, a folder or a kind).
    void decide(const QModelIndex& index, Decision decision);
    void decideAll(Decision decision);
    // Every file back to what the review started with (DefaultDecision).
    void decideByDefault();

    // Of the files the target has and the transfer asks about: how many, and
    // how many are to be replaced.
    std::size_t decidable() const;
    std::size_t replacing() const;
    // What the transfer would write: the new files and those to be replaced.
    std::uint64_t bytesToWrite() const;
    // The files whose bytes are still being compared.
    std::size_t comparing() const;

    // The row of plan item `item`.
    QModelIndex fileIndex(std::size_t item, int column = NameColumn) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    void decisionsChanged();
    // Comparisons have come in; `comparing()` says how many are left.
    void statusesChanged();

private:
    class Comparison;

    struct Node {
        int parent = -1;      // the node above; -1 for the root
        int row = 0;          // the row below that node
        int item = -1;        // the plan item of a file; -1 for the root, a kind or a folder
        QString label;        // a kind's or a folder's name
        std::vector<int> children;
        std::uint64_t bytes = 0;                   // a group's files' sources, together
        std::vector<std::size_t> statusCounts;     // a group's files by status
        int decidable = 0;    // decidable files at or below this node
        int replacing = 0;    // of those, the ones to be replaced
        int pending = 0;      // files whose bytes are being compared
    };

    int addNode(int parent, int item, QString label);
    int nodeOf(const QModelIndex& index) const;
    const PlanItem* itemOf(int node) const;
    QVariant fileData(const Node& node, const PlanItem& item, int column, int role) const;
    QVariant groupData(const Node& node, int column, int role) const;
    // Sets one file's decision and keeps the counts of the groups above it.
    void setFileDecision(int node, Decision decision);
    void decideBelow(int node, Decision decision);
    // Tells the views that the decision column (or every column) changed for every node.
    void announceDecisions(bool allColumns = false);
    // Takes the comparisons that have come in.
    void takeComparisons();

    Plan plan_;
    std::vector<Decision> decisions_;  // by plan item
    std::vector<bool> decided_;        // by plan item: someone decided it (not the preset)
    std::vector<Node> nodes_;          // nodes_[0] is the root
    std::vector<int> itemNodes_;       // the node of each plan item
    QIcon statusIcons_[kPlanStatusCount];
    std::unique_ptr<Comparison> comparison_;
};

// The review's view of the model: sorted by the column clicked (the transfer's
// order until then), and filtered by a text in the files' names and, on
// request, to the missing and refused files. A folder or a kind shows while
// any file below it does.
class ReviewFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit ReviewFilter(QObject* parent = nullptr);
    void setNameFilter(const QString& text);
    void setOnlyProblems(bool only);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString text_;
    bool onlyProblems_ = false;
};

}  // namespace corvane::ui
