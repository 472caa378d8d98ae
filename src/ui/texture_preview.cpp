#include "ui/texture_preview.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>

#include "ui/text.h"
#include "ui/texture_pictures.h"

namespace corvane::ui {

namespace {

QLabel* NamedLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

}  // namespace

TexturePreview::TexturePreview(PictureLoader& loader, QWidget* parent) : QFrame(parent), loader_(loader)
{
    setFrameShape(QFrame::StyledPanel);
    lblPicture_ = NamedLabel(this, "lblPicture");
    lblPicture_->setFixedSize(kPictureSide, kPictureSide);
    lblPicture_->setAlignment(Qt::AlignCenter);
    lblPictureName_ = NamedLabel(this, "lblPictureName");
    lblPictureName_->setWordWrap(true);
    lblPictureName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = lblPictureName_->font();
    bold.setBold(true);
    lblPictureName_->setFont(bold);
    lblPictureSize_ = NamedLabel(this, "lblPictureSize");
    lblPictureNote_ = NamedLabel(this, "lblPictureNote");
    lblPictureNote_->setWordWrap(true);
    lblPictureNote_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QGridLayout(this);
    layout->addWidget(lblPicture_, 0, 0, 4, 1, Qt::AlignTop);
    layout->addWidget(lblPictureName_, 0, 1);
    layout->addWidget(lblPictureSize_, 1, 1);
    layout->addWidget(lblPictureNote_, 2, 1);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(1, 1);

    connect(&loader_, &PictureLoader::pictureReady, this, &TexturePreview::pictureReady);
    clear();
}

void TexturePreview::showEntry(int row, const std::string& entry)
{
    clear();
    if (row < 0 || !IsTextureEntry(entry))
        return;
    row_ = row;
    lblPictureName_->setText(Q(entry));
    lblPictureNote_->setText(QStringLiteral("Loading..."));
    loader_.request(row, entry, kPictureSide);
}

void TexturePreview::clear()
{
    row_ = -1;
    lblPicture_->clear();
    lblPictureName_->setText(QStringLiteral("No texture selected"));
    lblPictureSize_->clear();
    lblPictureNote_->clear();
}

void TexturePreview::pictureReady(int row, int side, const TexturePicture& picture)
{
    if (side != kPictureSide || row != row_)
        return;
    if (picture.image.isNull())
        lblPicture_->clear();
    else
        lblPicture_->setPixmap(QPixmap::fromImage(picture.image));
    lblPictureSize_->setText(picture.sizeText());
    QStringList lines;
    for (const QString& line : {picture.where(), picture.note}) {
        if (!line.isEmpty())
            lines << line;
    }
    lblPictureNote_->setText(lines.join(QLatin1Char('\n')));
}

}  // namespace corvane::ui
