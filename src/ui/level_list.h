#pragma once
// The level's two lists, listWals and listWavs: views over a model of their
// entries instead of one widget item per entry, every row of one height, so
// that a level of hundreds of thousands of textures shows and scrolls at once.
// The texture list can also show its textures as pictures: a grid of
// thumbnails, each decoded when its row is first seen (texture_pictures.h).

#include <string>
#include <vector>

#include <QAbstractListModel>
#include <QCache>
#include <QIcon>
#include <QListView>
#include <QPixmap>

namespace corvane::ui {

class PictureLoader;
struct TexturePicture;

// The entries of one list, shown as they are, or with their pictures.
class EntryListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // The side of a thumbnail, in pixels.
    static constexpr int kThumbnailSide = 64;

    // Replaces the entries; pictures asked for the old ones are not waited for.
    void setEntries(std::vector<std::string> entries);
    const std::vector<std::string>& entries() const { return entries_; }

    // Shows each texture entry with its picture from `loader`, or (nullptr)
    // names only.
    void showPictures(PictureLoader* loader);
    bool picturesShown() const { return loader_ != nullptr; }
    // Forgets the pictures shown, to ask for them again (their sources changed).
    void reloadPictures();
    // A badge and a tooltip beside each entry, in order (the comparison's
    // arrivals), until the entries change; shown when pictures are not.
    struct Mark {
        QIcon icon;
        QString tooltip;
    };
    void setMarks(std::vector<Mark> marks);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    struct Thumbnail {
        QPixmap pixmap;
        QString tooltip;
    };
    void pictureReady(int row, int side, const TexturePicture& picture);
    // The thumbnail of a row, asking for it when it is not there yet.
    const Thumbnail* thumbnail(int row) const;

    std::vector<std::string> entries_;
    std::vector<Mark> marks_;
    PictureLoader* loader_ = nullptr;
    // The thumbnails seen last; a list of any length keeps a bounded number.
    mutable QCache<int, Thumbnail> thumbnails_{2048};
    QPixmap waiting_;
    QPixmap missing_;
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

    // A grid of thumbnails from `loader` and names beneath them, or (nullptr)
    // the names in a column.
    void showPictures(PictureLoader* loader);
    void reloadPictures() { model_->reloadPictures(); }
    EntryListModel* entryModel() const { return model_; }

private:
    EntryListModel* model_;
};

}  // namespace corvane::ui
