#pragma once
// The level's two lists, listWals and listWavs: views over a model of their
// entries instead of one widget item per entry, every row of one height, so
// that a level of hundreds of thousands of textures shows and scrolls at once.

#include <string>
#include <vector>

#include <QAbstractListModel>
#include <QListView>

namespace corvane::ui {

// The entries of one list, shown as they are.
class EntryListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // Replaces the entries.
    void setEntries(std::vector<std::string> entries);
    const std::vector<std::string>& entries() const { return entries_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<std::string> entries_;
};

class LevelList : public QListView {
    Q_OBJECT
public:
    explicit LevelList(QWidget* parent = nullptr);

    // Replaces the entries, or empties the list.
    void setEntries(std::vector<std::string> entries);
    void clear() { setEntries({}); }
    const std::vector<std::string>& entries() const { return model_->entries(); }
    int count() const { return static_cast<int>(entries().size()); }

private:
    EntryListModel* model_;
};

}  // namespace corvane::ui
