#include "ui/level_list.h"

#include <QPainter>

#include "ui/fonts.h"
#include "ui/text.h"
#include "ui/texture_pictures.h"

namespace corvane::ui {

namespace {

// What stands in a thumbnail's place: a frame while it is decoded, a crossed
// frame when there is nothing to show.
QPixmap Placeholder(bool crossed)
{
    const int side = EntryListModel::kThumbnailSide;
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(150, 150, 150), 1, crossed ? Qt::SolidLine : Qt::DotLine));
    const QRectF frame(4.5, 4.5, side - 9, side - 9);
    painter.drawRect(frame);
    if (crossed) {
        painter.setPen(QPen(QColor(190, 60, 50), 2));
        painter.drawLine(frame.topLeft() + QPointF(10, 10), frame.bottomRight() - QPointF(10, 10));
        painter.drawLine(frame.topRight() + QPointF(-10, 10), frame.bottomLeft() + QPointF(10, -10));
    }
    return pixmap;
}

}  // namespace

void EntryListModel::setEntries(std::vector<std::string> entries)
{
    beginResetModel();
    entries_ = std::move(entries);
    marks_.clear();
    thumbnails_.clear();
    if (loader_)
        loader_->cancel();
    endResetModel();
}

void EntryListModel::setMarks(std::vector<Mark> marks)
{
    marks_ = std::move(marks);
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::DecorationRole, Qt::ToolTipRole});
}

void EntryListModel::showPictures(PictureLoader* loader)
{
    if (loader == loader_)
        return;
    if (loader_) {
        loader_->cancel();
        disconnect(loader_, nullptr, this, nullptr);
    }
    loader_ = loader;
    thumbnails_.clear();
    if (loader_) {
        if (waiting_.isNull()) {
            waiting_ = Placeholder(false);
            missing_ = Placeholder(true);
        }
        connect(loader_, &PictureLoader::pictureReady, this, &EntryListModel::pictureReady);
    }
    if (!entries_.empty())
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::DecorationRole, Qt::ToolTipRole});
}

void EntryListModel::reloadPictures()
{
    if (!loader_)
        return;
    loader_->cancel();
    thumbnails_.clear();
    if (!entries_.empty())
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::DecorationRole, Qt::ToolTipRole});
}

int EntryListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::string& entry = entries_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        // Made when the row is painted: a list of many entries costs nothing until it is seen.
        return Q(entry);
    case Qt::DecorationRole:
        if (loader_ && IsTextureEntry(entry)) {
            const Thumbnail* shown = thumbnail(index.row());
            return shown ? shown->pixmap : waiting_;
        }
        if (static_cast<std::size_t>(index.row()) < marks_.size())
            return marks_[static_cast<std::size_t>(index.row())].icon;
        return {};
    case Qt::ToolTipRole:
        if (loader_ && IsTextureEntry(entry)) {
            const Thumbnail* shown = thumbnail(index.row());
            return shown ? shown->tooltip : Q(entry);
        }
        if (static_cast<std::size_t>(index.row()) < marks_.size())
            return marks_[static_cast<std::size_t>(index.row())].tooltip;
        return {};
    default:
        return {};
    }
}

const EntryListModel::Thumbnail* EntryListModel::thumbnail(int row) const
{
    if (const Thumbnail* shown = thumbnails_.object(row))
        return shown;
    loader_->request(row, entries_[static_cast<std::size_t>(row)], kThumbnailSide);
    return nullptr;
}

void EntryListModel::pictureReady(int row, int side, const TexturePicture& picture)
{
    if (side != kThumbnailSide || row < 0 || row >= rowCount())
        return;
    const bool nothing = picture.image.isNull();
    thumbnails_.insert(row, new Thumbnail{nothing ? missing_ : QPixmap::fromImage(picture.image), picture.tooltip()});
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::DecorationRole, Qt::ToolTipRole});
}

LevelList::LevelList(QWidget* parent) : QListView(parent), model_(new EntryListModel(this))
{
    setModel(model_);
    // One size for every row: the view lays out a list of any length without measuring it.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFont(FixedPitchFont());
}

void LevelList::setEntries(std::vector<std::string> entries)
{
    model_->setEntries(std::move(entries));
}

void LevelList::showPictures(PictureLoader* loader)
{
    model_->showPictures(loader);
    if (loader) {
        const int side = EntryListModel::kThumbnailSide;
        setViewMode(QListView::IconMode);
        setMovement(QListView::Static);
        setResizeMode(QListView::Adjust);
        setWrapping(true);
        setIconSize(QSize(side, side));
        // The end of a name tells textures of one folder apart.
        setTextElideMode(Qt::ElideLeft);
        setGridSize(QSize(side + 40, side + fontMetrics().height() + 12));
        setSpacing(0);
    } else {
        setViewMode(QListView::ListMode);
        setWrapping(false);
        setGridSize(QSize());
        setIconSize(QSize());
        setTextElideMode(Qt::ElideRight);
    }
}

}  // namespace corvane::ui
