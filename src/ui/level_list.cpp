#include "ui/level_list.h"

#include "ui/fonts.h"
#include "ui/text.h"

namespace corvane::ui {

void EntryListModel::setEntries(std::vector<std::string> entries)
{
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

int EntryListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole)
        return {};
    // Made when the row is painted: a list of many entries costs nothing until it is seen.
    return Q(entries_[static_cast<std::size_t>(index.row())]);
}

LevelList::LevelList(QWidget* parent) : QListView(parent), model_(new EntryListModel(this))
{
    setModel(model_);
    // One height for every row: the view lays out a list of any length without measuring it.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFont(FixedPitchFont());
}

void LevelList::setEntries(std::vector<std::string> entries)
{
    model_->setEntries(std::move(entries));
}

}  // namespace corvane::ui
