// Pictures of the textures: the toggle between names and thumbnails, a .wal
// coloured by the base game's palette or shown in greys without one, a
// picture beside the .wal shown as it is, a missing file, the larger view of
// the selected texture, and decoding that never delivers a picture of a list
// that has gone.

#include <chrono>
#include <thread>

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "archive/pack.h"
#include "formats/picture.h"
#include "support/game_files.h"
#include "ui/level_list.h"
#include "ui/texture_pictures.h"
#include "ui/texture_preview.h"
#include "ui_fixture.h"

namespace corvane::ui::test {
namespace {

using corvane::test::MakePcx;
using corvane::test::MakeWal;

// Index i is red i, green 255 - i, blue 7 i: every index its own colour.
std::string PaletteBytes()
{
    std::string rgb;
    for (int i = 0; i < 256; ++i) {
        rgb += static_cast<char>(i);
        rgb += static_cast<char>(255 - i);
        rgb += static_cast<char>((7 * i) % 256);
    }
    return rgb;
}

QRgb PaletteColour(int index)
{
    return qRgb(index, 255 - index, (7 * index) % 256);
}

// The indices of the 4 x 4 wall texture, row by row.
int WallIndex(int x, int y)
{
    return 16 * (4 * y + x) + 3;
}

std::string WallPixels()
{
    std::string pixels;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            pixels += static_cast<char>(WallIndex(x, y));
    return pixels;
}

// An uncompressed 24-bit TGA, top row first, without the footer of the
// format's second version, as the game's tools write it.
std::string TgaBytes(const QImage& image)
{
    std::string file(18, '\0');
    file[2] = 2;  // true colour, uncompressed
    file[12] = static_cast<char>(image.width());
    file[14] = static_cast<char>(image.height());
    file[16] = 24;
    file[17] = 0x20;  // the first row is the top one
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            file += static_cast<char>(qBlue(pixel));
            file += static_cast<char>(qGreen(pixel));
            file += static_cast<char>(qRed(pixel));
        }
    }
    return file;
}

// Waits until the model's row has its picture (its tooltip is no longer the
// bare name), and returns its tooltip.
QString WaitForPicture(const QAbstractItemModel& model, int row)
{
    const QModelIndex index = model.index(row, 0);
    const QString name = index.data(Qt::DisplayRole).toString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return index.data(Qt::ToolTipRole).toString() != name; }, 5000))
        << "no picture for " << name.toStdString();
    return index.data(Qt::ToolTipRole).toString();
}

QImage PictureOf(const QAbstractItemModel& model, int row)
{
    return model.index(row, 0).data(Qt::DecorationRole).value<QPixmap>().toImage();
}

class Pictures : public UiTest {
protected:
    // The small level in src/maps, its wall texture in the working tree, and
    // a base game with the palette when `withBaseGame`.
    void startWithTextures(bool withBaseGame)
    {
        maps = tree.dir("src/maps");
        tree.file("src/maps/small.map", kSmallLevel);
        tree.file("src/textures/town/wall.wal", MakeWal("town/wall", {}, 4, 4, WallPixels()));
        baseGame = tree.dir("game/baseq2");
        tree.file("game/baseq2/pics/colormap.pcx", MakePcx(PaletteBytes()));
        // The base game has its own textures, so that e1u1/metal stays the game's own.
        tree.file("game/baseq2/textures/e1u1/metal.wal", MakeWal("e1u1/metal"));
        storeSettings(maps, "/games/town", "", "", withBaseGame ? baseGame : "");
        start();
        doubleClickEntry("small.map");
        ASSERT_EQ(Entries(*ui().listWals), (QStringList{"town/floor.wal", "town/wall.wal"}));
    }
    QToolButton* toggle() { return Control<QToolButton>(main(), "speedPictures"); }
    const QAbstractItemModel& textures() { return *ui().listWals->model(); }
    QWidget* preview() { return Control<QWidget>(main(), "TexturePreview"); }
    QString previewText(const char* label) { return Control<QLabel>(main(), label)->text(); }
    // Selects a row of the texture list and waits for its larger view.
    void select(int row)
    {
        ui().listWals->setCurrentIndex(textures().index(row, 0));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return previewText("lblPictureNote") != QStringLiteral("Loading..."); }, 5000));
    }

    // The row's thumbnail comes from `file` (below the sandbox), of that size,
    // with those colours at its top left and bottom right corners.
    void expectThumbnail(int row, const char* file, const QString& sizeText, QSize size, std::pair<QRgb, QRgb> corners)
    {
        EXPECT_EQ(WaitForPicture(textures(), row), QString::fromStdString(tree.path(file)) + "\n" + sizeText);
        const QImage thumbnail = PictureOf(textures(), row);
        ASSERT_EQ(thumbnail.size(), size);
        EXPECT_EQ(thumbnail.pixel(0, 0), corners.first);
        EXPECT_EQ(thumbnail.pixel(size.width() - 1, size.height() - 1), corners.second);
    }

    std::string maps;
    std::string baseGame;
    static constexpr int kFloor = 0;
    static constexpr int kWall = 1;
};

TEST_F(Pictures, theToggleShowsThumbnailsAndTheLargerViewAndBackTheNames)
{
    startWithTextures(true);
    QListView* list = ui().listWals;
    EXPECT_TRUE(toggle()->isVisible());
    EXPECT_FALSE(toggle()->isChecked());
    EXPECT_EQ(list->viewMode(), QListView::ListMode);
    EXPECT_FALSE(textures().index(kWall, 0).data(Qt::DecorationRole).isValid());
    EXPECT_TRUE(preview()->isHidden());

    toggle()->click();
    EXPECT_EQ(list->viewMode(), QListView::IconMode);
    EXPECT_TRUE(preview()->isVisible());
    WaitForPicture(textures(), kWall);
    EXPECT_FALSE(PictureOf(textures(), kWall).isNull());
    EXPECT_EQ(Entries(*list), (QStringList{"town/floor.wal", "town/wall.wal"})) << "the same entries";

    // The browser hides the list, its toggle and the larger view; the level tab brings them back.
    ui().TabControl1->setCurrentIndex(0);
    EXPECT_TRUE(toggle()->isHidden() && preview()->isHidden());
    ui().TabControl1->setCurrentIndex(2);
    EXPECT_TRUE(toggle()->isVisible() && preview()->isVisible());

    // The choice outlasts the level.
    ui().mnuFileNew->trigger();
    doubleClickEntry("small.map");
    EXPECT_TRUE(toggle()->isChecked());
    EXPECT_EQ(list->viewMode(), QListView::IconMode);

    toggle()->click();
    EXPECT_EQ(list->viewMode(), QListView::ListMode);
    EXPECT_FALSE(textures().index(kWall, 0).data(Qt::DecorationRole).isValid());
    EXPECT_TRUE(preview()->isHidden());
}

TEST_F(Pictures, aWalTakesItsColoursFromTheBaseGamesPalette)
{
    startWithTextures(true);
    toggle()->click();
    const QString tooltip = WaitForPicture(textures(), kWall);
    EXPECT_EQ(tooltip, QString::fromStdString(tree.path("src/textures/town/wall.wal")) + "\n4 \u00d7 4 pixels");
    const QImage thumbnail = PictureOf(textures(), kWall);
    ASSERT_EQ(thumbnail.size(), QSize(64, 64)) << "a small texture grows by a whole multiple";
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(thumbnail.pixel(16 * x + 8, 16 * y + 8), PaletteColour(WallIndex(x, y))) << x << "," << y;

    // Selected, it shows larger, with its name and size.
    select(kWall);
    EXPECT_EQ(previewText("lblPictureName"), QStringLiteral("town/wall.wal"));
    EXPECT_EQ(previewText("lblPictureSize"), QStringLiteral("4 \u00d7 4 pixels"));
    const QImage larger = Control<QLabel>(main(), "lblPicture")->pixmap().toImage();
    ASSERT_EQ(larger.size(), QSize(160, 160));
    EXPECT_EQ(larger.pixel(159, 159), PaletteColour(WallIndex(3, 3)));
}

TEST_F(Pictures, withoutABaseGameAWalShowsInGreysAndSaysWhy)
{
    startWithTextures(false);
    toggle()->click();
    const QString tooltip = WaitForPicture(textures(), kWall);
    EXPECT_TRUE(tooltip.endsWith(QStringLiteral("\nNo base game set: shown in greys"))) << tooltip.toStdString();
    const QImage thumbnail = PictureOf(textures(), kWall);
    const int index = WallIndex(2, 1);
    EXPECT_EQ(thumbnail.pixel(16 * 2 + 8, 16 + 8), qRgb(index, index, index));
    select(kWall);
    EXPECT_TRUE(previewText("lblPictureNote").endsWith(QStringLiteral("No base game set: shown in greys")));

    // Setting the base game in Configure colours what is shown.
    modals.then([&](QDialog& dialog) {
        Control<QLineEdit>(dialog, "Edit5")->setText(QString::fromStdString(baseGame));
        Press(dialog, QStringLiteral("OK"));
    });
    ui().mnuConfigSetPaths->trigger();
    const QString coloured = WaitForPicture(textures(), kWall);
    EXPECT_FALSE(coloured.contains(QStringLiteral("greys"))) << coloured.toStdString();
    EXPECT_EQ(PictureOf(textures(), kWall).pixel(16 * 2 + 8, 16 + 8), PaletteColour(index));
}

TEST_F(Pictures, aPictureBesideTheWalIsShownAsItIs)
{
    startWithTextures(true);
    // wall.wal gets a .tga beside it (ports load that instead), floor a .png and no .wal.
    QImage tga(2, 3, QImage::Format_RGB32);
    tga.fill(qRgb(10, 200, 30));
    tga.setPixel(1, 2, qRgb(250, 5, 5));
    tree.file("src/textures/town/wall.tga", TgaBytes(tga));
    QImage png(8, 8, QImage::Format_ARGB32);
    png.fill(qRgba(40, 50, 60, 255));
    png.setPixel(7, 7, qRgba(1, 2, 3, 255));
    ASSERT_TRUE(png.save(QString::fromStdString(tree.path("src/textures/town/floor.png")), "PNG"));
    toggle()->click();

    expectThumbnail(kWall, "src/textures/town/wall.tga", "2 \u00d7 3 pixels", QSize(42, 63),
                    {qRgb(10, 200, 30), qRgb(250, 5, 5)});
    expectThumbnail(kFloor, "src/textures/town/floor.png", "8 \u00d7 8 pixels", QSize(64, 64),
                    {qRgb(40, 50, 60), qRgb(1, 2, 3)});
}

TEST_F(Pictures, aTextureWithoutAFileShowsAPlaceholderAndSaysSo)
{
    startWithTextures(true);
    toggle()->click();
    const QString floor = WaitForPicture(textures(), kFloor);
    EXPECT_EQ(floor, "Not found: " + QString::fromStdString(tree.path("src/textures/town/floor.wal")) +
                         "\nNor is there a .png, .tga or .jpg of that name");
    EXPECT_EQ(PictureOf(textures(), kFloor).size(), QSize(64, 64)) << "a placeholder in its place";
    select(kFloor);
    EXPECT_EQ(previewText("lblPictureSize"), QString());
    EXPECT_EQ(previewText("lblPictureNote"), floor);

    // A damaged .wal says why it cannot be shown.
    tree.file("src/textures/town/floor.wal", MakeWal("town/floor", {}, 4, 4).substr(0, 60));
    ui().TabControl1->setCurrentIndex(0);
    ui().TabControl1->setCurrentIndex(2);
    EXPECT_EQ(WaitForPicture(textures(), kFloor),
              QString::fromStdString(tree.path("src/textures/town/floor.wal")) +
                  "\nCannot be shown: truncated header");
}

// The files a texture is looked for in, and the palette's sources.
TEST(TexturePictures, aPngComesFirstAndTheWalLastBelowTheWorkingTreesTextures)
{
    EXPECT_EQ(TexturesFolder("/home/me/harbor/maps"), "/home/me/harbor/textures/");
    EXPECT_EQ(TexturesFolder("maps"), "") << "a source folder without a parent names no tree";
    EXPECT_EQ(PictureFiles("/w/textures/", "town/Wall.wal"),
              (std::vector<std::string>{"/w/textures/town/Wall.png", "/w/textures/town/Wall.tga",
                                        "/w/textures/town/Wall.jpg", "/w/textures/town/Wall.wal"}));
    EXPECT_TRUE(IsTextureEntry("a/b.wal"));
    EXPECT_FALSE(IsTextureEntry("No custom textures"));

    const TexturePicture refused = LoadTexturePicture("/w/textures/", "../../etc/x.wal", {}, 64);
    EXPECT_EQ(refused.kind, TexturePicture::Kind::Refused);
}

TEST(TexturePictures, thePaletteComesFromTheBaseGameLooseOrFromItsPaks)
{
    corvane::test::TempTree tree;
    BaseGameCache cache;
    EXPECT_EQ(ChoosePalette(cache, "").problem, "No base game set");
    const std::string empty = tree.dir("empty");
    EXPECT_EQ(ChoosePalette(cache, empty).problem, "The base game has no pics/colormap.pcx");

    // In a pak, under another letter case.
    tree.file("stage/PICS/Colormap.pcx", MakePcx(PaletteBytes()));
    const std::string game = tree.dir("game");
    PackOptions options;
    ASSERT_TRUE(PackFolder(tree.path("stage"), tree.path("game/pak0.pak"), options).ok);
    const PaletteChoice fromPak = ChoosePalette(cache, game);
    ASSERT_TRUE(fromPak.palette) << fromPak.problem;
    EXPECT_EQ(fromPak.palette->rgb[3 * 200], 200);
    EXPECT_EQ(fromPak.palette->rgb[3 * 200 + 1], 55);

    tree.file("damaged/pics/colormap.pcx", "not a picture");
    const PaletteChoice damaged = ChoosePalette(cache, tree.path("damaged"));
    EXPECT_FALSE(damaged.palette);
    EXPECT_EQ(damaged.problem, "pics/colormap.pcx of the base game holds no palette: truncated header");
}

// A list that changes while its pictures are decoded never shows a picture
// of the list before: what was asked for it is dropped or ignored.
TEST(TexturePictures, aNewListNeverShowsThePicturesAskedForTheOldOne)
{
    corvane::test::TempTree tree;
    for (int i = 0; i < 40; ++i)
        tree.file("textures/old/" + std::to_string(i) + ".wal", MakeWal("old", {}, 64, 64, std::string(4096, '\x0a')));
    tree.file("textures/new/0.wal", MakeWal("new", {}, 4, 4, std::string(16, '\xc8')));
    PictureLoader loader;
    loader.setSources({tree.path("textures") + "/", ""});
    EntryListModel model;
    model.showPictures(&loader);
    std::vector<std::string> old;
    for (int i = 0; i < 40; ++i)
        old.push_back("old/" + std::to_string(i) + ".wal");
    model.setEntries(old);
    // Asks for every picture, the first row last: the newest is decoded first.
    for (int row = 39; row >= 0; --row)
        model.index(row, 0).data(Qt::DecorationRole);
    // Meanwhile the workers decode some of them; their pictures wait in the event queue.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    model.setEntries({"new/0.wal"});
    QStringList delivered;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&](const QModelIndex& changed) {
        delivered << changed.data(Qt::ToolTipRole).toString();
    });

    WaitForPicture(model, 0);
    loader.waitForIdle();
    QCoreApplication::processEvents();
    ASSERT_EQ(delivered.size(), 1) << delivered.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(delivered.front().contains(QStringLiteral("new/0.wal")));
    EXPECT_EQ(PictureOf(model, 0).pixel(0, 0), qRgb(200, 200, 200));
}

}  // namespace
}  // namespace corvane::ui::test
