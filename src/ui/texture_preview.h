#pragma once
// The larger view of the texture selected in the texture list, beneath it
// while the list shows pictures: the picture as large as the pane allows, its
// name, its size in pixels and, when it does not look as it should, why.

#include <string>

#include <QFrame>

class QLabel;

namespace corvane::ui {

class PictureLoader;
struct TexturePicture;

class TexturePreview : public QFrame {
    Q_OBJECT
public:
    // The side of the picture shown, in pixels.
    static constexpr int kPictureSide = 160;

    TexturePreview(PictureLoader& loader, QWidget* parent = nullptr);

    // Shows the texture of a row of the list (known to the loader by that
    // row); an entry that names no texture shows nothing.
    void showEntry(int row, const std::string& entry);
    void clear();

private:
    void pictureReady(int row, int side, const TexturePicture& picture);

    PictureLoader& loader_;
    int row_ = -1;
    QLabel* lblPicture_;
    QLabel* lblPictureName_;
    QLabel* lblPictureSize_;
    QLabel* lblPictureNote_;
};

}  // namespace corvane::ui
