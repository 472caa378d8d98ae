#include "ui/review_model.h"

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QStringList>
#include <QTimer>

#include "platform/shown_name.h"
#include "transfer/byte_total.h"
#include "ui/plan_marks.h"
#include "ui/text.h"

namespace corvane::ui {

namespace {

// The kinds as the review groups them, in the transfer's order.
enum class Group { Level, Sky, Textures, Sounds, Models, Pellark };

Group GroupOf(PlanKind kind)
{
    switch (kind) {
    case PlanKind::Level:
    case PlanKind::Bsp: return Group::Level;
    case PlanKind::Sky: return Group::Sky;
    case PlanKind::Texture:
    case PlanKind::Frame:
    case PlanKind::Image: return Group::Textures;
    case PlanKind::Sound: return Group::Sounds;
    case PlanKind::Model:
    case PlanKind::Skin: return Group::Models;
    case PlanKind::Pellark: break;
    }
    return Group::Pellark;
}

QString GroupLabel(Group group)
{
    switch (group) {
    case Group::Level: return QStringLiteral("Level");
    case Group::Sky: return QStringLiteral("Sky");
    case Group::Textures: return QStringLiteral("Textures");
    case Group::Sounds: return QStringLiteral("Sounds");
    case Group::Models: return QStringLiteral("Models");
    case Group::Pellark: break;
    }
    return QStringLiteral("Pellark tree");
}

QString Count(std::uint64_t n)
{
    return Q(FormatByteCount(std::to_string(n)));
}

QString StatusText(const PlanItem& item)
{
    if (item.bytesPending)
        return QStringLiteral("comparing");
    const QString name = Q(PlanStatusName(item.status));
    return item.status == PlanStatus::Refused ? name + QStringLiteral(" (") + Q(item.reason) + QLatin1Char(')')
                                              : name;
}

// What a complete release's file is shipped for: "Needed by: w/water1.wal",
// "Needed by: an entity of the level"; "" for the rest.
QString NeededBy(const PlanItem& item)
{
    if (item.neededBy.empty())
        return {};
    if (item.neededBy == "entity")
        return QStringLiteral("Needed by: an entity of the level");
    return QStringLiteral("Needed by: ") + Q(ShownName(item.neededBy));
}

// Where the file comes from and goes, what needs it, and for a name found in
// another letter case, the candidates.
QString NameHint(const PlanItem& item)
{
    QStringList lines;
    if (!item.source.empty())
        lines << QStringLiteral("From: ") + Q(ShownName(item.source)) << QStringLiteral("To: ") + Q(ShownName(item.target));
    if (const QString needed = NeededBy(item); !needed.isEmpty())
        lines << needed;
    if (!item.note.empty())
        lines << QStringLiteral("Its name ") + Q(ShownName(item.note));
    return lines.join(QLatin1Char('\n'));
}

QString StatusHint(const PlanItem& item)
{
    const char* copied = item.movesSource ? "moved" : "copied";
    switch (item.status) {
    case PlanStatus::New: return QStringLiteral("Not in the target: it will be %1").arg(QLatin1String(copied));
    case PlanStatus::Replace: return QStringLiteral("The target has this file with other bytes");
    case PlanStatus::Same:
        if (item.bytesPending)
            return QStringLiteral("The target has this file with the same size; its bytes are being compared");
        if (!Decidable(item))
            return QStringLiteral("The target has this file with the same bytes: it stays, unasked");
        return QStringLiteral("The target has this file with the same bytes");
    case PlanStatus::Missing:
        if (!item.note.empty())
            return QStringLiteral("Not in the working tree as written: its name ") + Q(ShownName(item.note));
        return QStringLiteral("Not in the working tree");
    case PlanStatus::Stock: return QStringLiteral("The game's own: left out");
    case PlanStatus::NotIncluded: return QStringLiteral("A complete release would add it: left out");
    case PlanStatus::Refused: break;
    }
    return QStringLiteral("Refused: ") + Q(item.reason);
}

QString DecisionHint(const PlanItem& item)
{
    if (item.status == PlanStatus::Same)
        return QStringLiteral("Preset to Keep: the target has the same bytes");
    if (DefaultDecision(item) == Decision::Replace)
        return QStringLiteral("Preset to Replace: the working tree's file is newer");
    return QStringLiteral("Preset to Keep: the target's file is as new or newer");
}

QVariant Date(const std::optional<std::int64_t>& nanoseconds, int role)
{
    if (role == ReviewModel::SortRole)
        return QVariant::fromValue<qlonglong>(nanoseconds ? *nanoseconds : -1);
    if (!nanoseconds)
        return {};
    return QLocale().toString(QDateTime::fromMSecsSinceEpoch(*nanoseconds / 1'000'000), QLocale::ShortFormat);
}

// How often the comparisons that have come in are shown.
constexpr int kComparisonTick = 40;  // ms

}  // namespace

// Compares the bytes of the pending items on a thread of its own, with
// CompareBytes, and hands over what has come in.
class ReviewModel::Comparison {
public:
    explicit Comparison(std::vector<std::pair<std::size_t, PlanItem>> items)
        : items_(std::move(items)), thread_([this] { run(); })
    {
    }
    ~Comparison()
    {
        stop_ = true;
        thread_.join();
    }
    Comparison(const Comparison&) = delete;
    Comparison& operator=(const Comparison&) = delete;

    // The plan items compared since the last call, with whether their bytes are the same.
    std::vector<std::pair<std::size_t, bool>> take()
    {
        const std::lock_guard lock(mutex_);
        return std::exchange(done_, {});
    }

private:
    void run()
    {
        for (auto& [index, item] : items_) {
            if (stop_)
                return;
            CompareBytes(item);
            const std::lock_guard lock(mutex_);
            done_.emplace_back(index, item.status == PlanStatus::Same);
        }
    }

    std::vector<std::pair<std::size_t, PlanItem>> items_;
    std::atomic<bool> stop_ = false;
    std::mutex mutex_;
    std::vector<std::pair<std::size_t, bool>> done_;
    std::thread thread_;  // last: it starts once the rest is there
};

ReviewModel::~ReviewModel() = default;

ReviewModel::ReviewModel(Plan plan, QObject* parent) : QAbstractItemModel(parent), plan_(std::move(plan))
{
    for (std::size_t status = 0; status < kPlanStatusCount; ++status)
        statusIcons_[status] = StatusIcon(static_cast<PlanStatus>(status));

    nodes_.reserve(plan_.items.size() + 64);
    nodes_.emplace_back();
    nodes_[0].statusCounts.assign(kPlanStatusCount, 0);
    decisions_.reserve(plan_.items.size());
    itemNodes_.reserve(plan_.items.size());
    std::map<Group, int> groups;
    std::map<std::pair<Group, std::string>, int> folders;
    for (std::size_t i = 0; i < plan_.items.size(); ++i) {
        const PlanItem& item = plan_.items[i];
        const Group group = GroupOf(item.kind);
        auto [kindNode, newKind] = groups.try_emplace(group, 0);
        if (newKind)
            kindNode->second = addNode(0, -1, GroupLabel(group));
        int parentNode = kindNode->second;
        if (!item.folder.empty() && group != Group::Level && group != Group::Sky) {
            auto [folderNode, newFolder] = folders.try_emplace({group, item.folder}, 0);
            if (newFolder)
                folderNode->second = addNode(parentNode, -1, Q(ShownName(item.folder)));
            parentNode = folderNode->second;
        }
        const Decision decision = Decidable(item) ? DefaultDecision(item) : Decision::Keep;
        decisions_.push_back(decision);
        const int leaf = addNode(parentNode, static_cast<int>(i), {});
        itemNodes_.push_back(leaf);
        for (int up = leaf; up >= 0; up = nodes_[static_cast<std::size_t>(up)].parent) {
            Node& node = nodes_[static_cast<std::size_t>(up)];
            node.bytes += item.bytes;
            if (!node.statusCounts.empty())
                ++node.statusCounts[static_cast<std::size_t>(item.status)];
            if (Decidable(item)) {
                ++node.decidable;
                node.replacing += decision == Decision::Replace ? 1 : 0;
            }
            node.pending += item.bytesPending ? 1 : 0;
        }
    }
    decided_.assign(plan_.items.size(), false);

    std::vector<std::pair<std::size_t, PlanItem>> pending;
    for (std::size_t i = 0; i < plan_.items.size(); ++i) {
        if (plan_.items[i].bytesPending)
            pending.emplace_back(i, plan_.items[i]);
    }
    if (!pending.empty()) {
        comparison_ = std::make_unique<Comparison>(std::move(pending));
        auto* tick = new QTimer(this);
        connect(tick, &QTimer::timeout, this, [this, tick] {
            takeComparisons();
            if (comparing() == 0)
                tick->stop();
        });
        tick->start(kComparisonTick);
    }
}

std::size_t ReviewModel::comparing() const
{
    return static_cast<std::size_t>(nodes_[0].pending);
}

void ReviewModel::takeComparisons()
{
    if (!comparison_)
        return;
    const std::vector<std::pair<std::size_t, bool>> compared = comparison_->take();
    if (compared.empty())
        return;
    for (const auto& [index, same] : compared) {
        PlanItem& item = plan_.items[index];
        if (!item.bytesPending)
            continue;
        item.bytesPending = false;
        if (!same)
            item.status = PlanStatus::Replace;
        for (int up = itemNodes_[index]; up >= 0; up = nodes_[static_cast<std::size_t>(up)].parent) {
            Node& node = nodes_[static_cast<std::size_t>(up)];
            --node.pending;
            if (!same && !node.statusCounts.empty()) {
                --node.statusCounts[static_cast<std::size_t>(PlanStatus::Same)];
                ++node.statusCounts[static_cast<std::size_t>(PlanStatus::Replace)];
            }
        }
        if (!decided_[index])
            setFileDecision(itemNodes_[index], DefaultDecision(item));
    }
    announceDecisions(true);
    emit statusesChanged();
}

int ReviewModel::addNode(int parent, int item, QString label)
{
    Node node;
    node.parent = parent;
    node.item = item;
    node.label = std::move(label);
    if (item < 0)
        node.statusCounts.assign(kPlanStatusCount, 0);
    const int index = static_cast<int>(nodes_.size());
    Node& above = nodes_[static_cast<std::size_t>(parent)];
    node.row = static_cast<int>(above.children.size());
    above.children.push_back(index);
    nodes_.push_back(std::move(node));
    return index;
}

int ReviewModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<int>(index.internalId()) : 0;
}

const PlanItem* ReviewModel::itemOf(int node) const
{
    const int item = nodes_[static_cast<std::size_t>(node)].item;
    return item < 0 ? nullptr : &plan_.items[static_cast<std::size_t>(item)];
}

QModelIndex ReviewModel::fileIndex(std::size_t item, int column) const
{
    const int node = itemNodes_[item];
    return createIndex(nodes_[static_cast<std::size_t>(node)].row, column, static_cast<quintptr>(node));
}

QModelIndex ReviewModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node& above = nodes_[static_cast<std::size_t>(nodeOf(parent))];
    if (row < 0 || column < 0 || column >= ColumnCount || row >= static_cast<int>(above.children.size()))
        return {};
    return createIndex(row, column, static_cast<quintptr>(above.children[static_cast<std::size_t>(row)]));
}

QModelIndex ReviewModel::parent(const QModelIndex& index) const
{
    const int above = nodes_[static_cast<std::size_t>(nodeOf(index))].parent;
    if (above <= 0)
        return {};
    return createIndex(nodes_[static_cast<std::size_t>(above)].row, 0, static_cast<quintptr>(above));
}

int ReviewModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return static_cast<int>(nodes_[static_cast<std::size_t>(nodeOf(parent))].children.size());
}

int ReviewModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant ReviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kTitles[] = {"Name", "Kind", "Status", "Size", "Source date", "Target date", "Decision"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(kTitles[section]) : QVariant();
}

QVariant ReviewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Node& node = nodes_[static_cast<std::size_t>(nodeOf(index))];
    if (const PlanItem* item = itemOf(nodeOf(index)))
        return fileData(node, *item, index.column(), role);
    return groupData(node, index.column(), role);
}

QVariant ReviewModel::fileData(const Node& node, const PlanItem& item, int column, int role) const
{
    const bool decidable = Decidable(item);
    const Decision decision = decisions_[static_cast<std::size_t>(node.item)];
    if (role == Qt::ForegroundRole) {
        const QColor colour = StatusColour(item.status);
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    if (role == ProblemRole)
        return item.status == PlanStatus::Missing || item.status == PlanStatus::Refused;
    switch (column) {
    case NameColumn:
        if (role == Qt::DisplayRole || role == SortRole)
            return Q(ShownName(item.name));
        if (role == Qt::DecorationRole)
            return statusIcons_[static_cast<std::size_t>(item.status)];
        if (role == Qt::ToolTipRole) {
            const QString hint = NameHint(item);
            return hint.isEmpty() ? QVariant() : QVariant(hint);
        }
        break;
    case KindColumn:
        if (role == Qt::DisplayRole || role == SortRole)
            return Q(PlanKindName(item.kind));
        if (role == Qt::ToolTipRole && !item.neededBy.empty())
            return NeededBy(item);
        break;
    case StatusColumn:
        if (role == Qt::DisplayRole)
            return StatusText(item);
        if (role == SortRole)
            return static_cast<int>(item.status);
        if (role == Qt::ToolTipRole)
            return StatusHint(item);
        break;
    case SizeColumn:
        if (role == Qt::DisplayRole && item.sourceModified)
            return Count(item.bytes);
        if (role == SortRole)
            return QVariant::fromValue<qulonglong>(item.bytes);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case SourceDateColumn:
        if (role == Qt::DisplayRole || role == SortRole)
            return Date(item.sourceModified, role);
        break;
    case TargetDateColumn:
        if (role == Qt::DisplayRole || role == SortRole)
            return Date(item.targetModified, role);
        break;
    case DecisionColumn:
        if (!decidable)
            return role == SortRole ? QVariant(-1) : QVariant();
        if (role == Qt::DisplayRole)
            return decision == Decision::Replace ? QStringLiteral("Replace") : QStringLiteral("Keep");
        if (role == Qt::CheckStateRole)
            return decision == Decision::Replace ? Qt::Checked : Qt::Unchecked;
        if (role == SortRole)
            return decision == Decision::Replace ? 1 : 0;
        if (role == Qt::ToolTipRole)
            return DecisionHint(item);
        break;
    default: break;
    }
    return {};
}

QVariant ReviewModel::groupData(const Node& node, int column, int role) const
{
    if (role == Qt::FontRole && node.parent == 0) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    switch (column) {
    case NameColumn:
        if (role == Qt::DisplayRole || role == SortRole)
            return node.label;
        break;
    case StatusColumn:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
            QStringList counts;
            for (std::size_t status = 0; status < kPlanStatusCount; ++status) {
                std::size_t count = node.statusCounts[status];
                if (static_cast<PlanStatus>(status) == PlanStatus::Same)
                    count -= static_cast<std::size_t>(node.pending);  // not known yet
                if (count > 0)
                    counts << Count(count) + QLatin1Char(' ') + Q(PlanStatusName(static_cast<PlanStatus>(status)));
            }
            if (node.pending > 0)
                counts << Count(static_cast<std::uint64_t>(node.pending)) + QStringLiteral(" comparing");
            return counts.join(QStringLiteral(", "));
        }
        break;
    case SizeColumn:
        if (role == Qt::DisplayRole)
            return Count(node.bytes);
        if (role == SortRole)
            return QVariant::fromValue<qulonglong>(node.bytes);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case DecisionColumn:
        if (node.decidable == 0)
            return role == SortRole ? QVariant(-1) : QVariant();
        if (role == Qt::DisplayRole) {
            if (node.replacing == node.decidable)
                return QStringLiteral("Replace");
            if (node.replacing == 0)
                return QStringLiteral("Keep");
            return QStringLiteral("Replace %1 of %2").arg(Count(static_cast<std::uint64_t>(node.replacing)),
                                                          Count(static_cast<std::uint64_t>(node.decidable)));
        }
        if (role == Qt::CheckStateRole)
            return node.replacing == node.decidable ? Qt::Checked
                   : node.replacing == 0           ? Qt::Unchecked
                                                   : Qt::PartiallyChecked;
        if (role == SortRole)
            return static_cast<double>(node.replacing) / node.decidable;
        if (role == Qt::ToolTipRole)
            return QStringLiteral("Decides every file below at once");
        break;
    default: break;
    }
    if (role == SortRole && (column == KindColumn || column == SourceDateColumn || column == TargetDateColumn ||
                             column == StatusColumn))
        return -1;
    return {};
}

Qt::ItemFlags ReviewModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == DecisionColumn && nodes_[static_cast<std::size_t>(nodeOf(index))].decidable > 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool ReviewModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != DecisionColumn || role != Qt::CheckStateRole ||
        nodes_[static_cast<std::size_t>(nodeOf(index))].decidable == 0)
        return false;
    decide(index, value.value<Qt::CheckState>() == Qt::Checked ? Decision::Replace : Decision::Keep);
    return true;
}

void ReviewModel::setFileDecision(int node, Decision decision)
{
    const Node& file = nodes_[static_cast<std::size_t>(node)];
    Decision& current = decisions_[static_cast<std::size_t>(file.item)];
    if (current == decision || !Decidable(plan_.items[static_cast<std::size_t>(file.item)]))
        return;
    current = decision;
    const int change = decision == Decision::Replace ? 1 : -1;
    for (int up = node; up >= 0; up = nodes_[static_cast<std::size_t>(up)].parent)
        nodes_[static_cast<std::size_t>(up)].replacing += change;
}

void ReviewModel::decideBelow(int node, Decision decision)
{
    const Node& here = nodes_[static_cast<std::size_t>(node)];
    if (here.item >= 0) {
        decided_[static_cast<std::size_t>(here.item)] = true;
        setFileDecision(node, decision);
        return;
    }
    for (const int child : here.children)
        decideBelow(child, decision);
}

void ReviewModel::announceDecisions(bool allColumns)
{
    for (std::size_t node = 0; node < nodes_.size(); ++node) {
        const Node& group = nodes_[node];
        if (group.children.empty())
            continue;
        const QModelIndex above =
            node == 0 ? QModelIndex() : createIndex(group.row, 0, static_cast<quintptr>(node));
        const int last = static_cast<int>(group.children.size()) - 1;
        if (allColumns)
            emit dataChanged(index(0, 0, above), index(last, ColumnCount - 1, above));
        else
            emit dataChanged(index(0, DecisionColumn, above), index(last, DecisionColumn, above),
                             {Qt::DisplayRole, Qt::CheckStateRole, SortRole});
    }
    emit decisionsChanged();
}

void ReviewModel::decide(const QModelIndex& index, Decision decision)
{
    decideBelow(nodeOf(index), decision);
    announceDecisions();
}

void ReviewModel::decideAll(Decision decision)
{
    decide({}, decision);
}

void ReviewModel::decideByDefault()
{
    for (std::size_t i = 0; i < plan_.items.size(); ++i) {
        decided_[i] = false;  // a comparison still to come presets its file too
        setFileDecision(itemNodes_[i], DefaultDecision(plan_.items[i]));
    }
    announceDecisions();
}

Decisions ReviewModel::decisions() const
{
    Decisions decided;
    for (std::size_t i = 0; i < plan_.items.size(); ++i) {
        if (Decidable(plan_.items[i]))
            decided.emplace(plan_.items[i].target, decisions_[i]);
    }
    return decided;
}

std::size_t ReviewModel::decidable() const
{
    return static_cast<std::size_t>(nodes_[0].decidable);
}

std::size_t ReviewModel::replacing() const
{
    return static_cast<std::size_t>(nodes_[0].replacing);
}

std::uint64_t ReviewModel::bytesToWrite() const
{
    std::uint64_t bytes = 0;
    for (std::size_t i = 0; i < plan_.items.size(); ++i) {
        const PlanItem& item = plan_.items[i];
        if (item.status == PlanStatus::New || (Decidable(item) && decisions_[i] == Decision::Replace))
            bytes += item.bytes;
    }
    return bytes;
}

ReviewFilter::ReviewFilter(QObject* parent) : QSortFilterProxyModel(parent)
{
    setRecursiveFilteringEnabled(true);
    setSortRole(ReviewModel::SortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

void ReviewFilter::setNameFilter(const QString& text)
{
    text_ = text;
    invalidateFilter();
}

void ReviewFilter::setOnlyProblems(bool only)
{
    onlyProblems_ = only;
    invalidateFilter();
}

bool ReviewFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (text_.isEmpty() && !onlyProblems_)
        return true;
    const QModelIndex row = sourceModel()->index(sourceRow, ReviewModel::NameColumn, sourceParent);
    if (sourceModel()->hasChildren(row))
        return false;  // a folder or a kind shows through the files below it
    if (onlyProblems_ && !row.data(ReviewModel::ProblemRole).toBool())
        return false;
    return text_.isEmpty() || row.data(Qt::DisplayRole).toString().contains(text_, Qt::CaseInsensitive);
}

}  // namespace corvane::ui
