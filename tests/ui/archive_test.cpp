// File > Build archive...: offered after a transfer and in preview; a pak or
// a zip of the target read back with the archive readers; the default path
// following the format; an existing archive replaced only on Yes; errors and
// warnings shown; a pack cancelled midway leaving nothing behind.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "archive/pak_reader.h"
#include "archive/zip_reader.h"
#include "platform/faults.h"
#include "platform/files.h"
#include "transfer/byte_total.h"
#include "transfer_fixture.h"
#include "ui/archive_dialog.h"

namespace corvane::ui::test {
namespace {

// Every entry of an archive with its bytes.
template <typename Reader>
std::map<std::string, std::string> ReadBack(Reader&& reader)
{
    std::map<std::string, std::string> files;
    EXPECT_TRUE(reader.listing().ok);
    for (const ArchiveEntry& entry : reader.listing().entries)
        files[entry.name] = reader.read(entry, 1 << 20).data;
    return files;
}

// What the dialog showed when its pack ended.
struct SeenArchive {
    QString folder;
    QString archive;  // the path in the field when Build was pressed
    QString result;
    QString messages;  // errors and warnings, when shown
};

class BuildArchive : public TransferWindow {
protected:
    QAction* menuItem() { return Control<QAction>(main(), "mnuFileBuildArchive"); }

    // The files below the target, with their bytes: what an archive of it
    // holds (the level source only when asked for).
    std::map<std::string, std::string> targetFiles(bool sources)
    {
        std::map<std::string, std::string> files;
        for (const std::string& entry : tree.entries("game")) {
            if (entry.back() == '/' || (!sources && entry.ends_with(".map")))
                continue;
            files[entry] = tree.read("game/" + entry);
        }
        return files;
    }

    // Queues the dialog's answer: `prepare` sets its fields, Build is pressed,
    // and once the pack has ended the dialog is read and closed.
    void build(SeenArchive* seen, std::function<void(QDialog&)> prepare = {})
    {
        modals.then([this, seen, prepare](QDialog& dialog) {
            auto* archive = Expect<TfrmArchive>(dialog, "Build Archive");
            if (!archive)
                return;
            if (prepare)
                prepare(dialog);
            seen->folder = Control<QLabel>(dialog, "lblArchiveFolder")->text();
            seen->archive = Control<QLineEdit>(dialog, "editArchive")->text();
            Control<QPushButton>(dialog, "btnBuild")->click();
            EXPECT_TRUE(QTest::qWaitFor([archive] { return !archive->packing(); }, 10000));
            seen->result = Control<QLabel>(dialog, "lblArchiveResult")->text();
            const auto* memo = Control<QPlainTextEdit>(dialog, "memoArchive");
            seen->messages = memo->isVisible() ? memo->toPlainText() : QString();
            Control<QPushButton>(dialog, "btnClose")->click();
        });
    }
};

TEST_F(BuildArchive, isOfferedAfterATransferAndInPreviewOnly)
{
    startWithTown();
    EXPECT_FALSE(menuItem()->isEnabled());
    useTarget(false, false);
    readLog(nullptr);
    ui().btnCreate->click();
    EXPECT_TRUE(menuItem()->isEnabled());

    ui().mnuFileNew->trigger();
    EXPECT_FALSE(menuItem()->isEnabled());
    ui().btnPreview->click();
    ASSERT_EQ(main().mode(), WindowMode::Preview);
    EXPECT_TRUE(menuItem()->isEnabled());
    ui().btnExitPreview->click();
    EXPECT_FALSE(menuItem()->isEnabled());
}

TEST_F(BuildArchive, aPakOfTheTransferredTargetHoldsEveryGameFile)
{
    firstTransfer();
    const std::string pak = target + "/pak0.pak";
    const std::map<std::string, std::string> expected = targetFiles(false);
    SeenArchive seen;
    build(&seen);
    menuItem()->trigger();

    EXPECT_EQ(seen.folder, S(target));
    EXPECT_EQ(seen.archive, S(pak)) << "where corvane-cli pack puts it";
    ASSERT_TRUE(FileExists(pak)) << seen.result.toStdString() << seen.messages.toStdString();
    EXPECT_EQ(ReadBack(PakReader::Open(pak)), expected);
    EXPECT_EQ(seen.result, S("Built " + pak + ": " + std::to_string(expected.size()) + " files, " +
                             FormatByteCount(std::to_string(tree.read("game/pak0.pak").size())) + " bytes"));
    EXPECT_EQ(seen.messages, QString());
}

TEST_F(BuildArchive, aZipFollowsItsFormatsPathAndTakesTheSourcesWhenAsked)
{
    firstTransfer();
    SeenArchive seen;
    build(&seen, [](QDialog& dialog) {
        Control<QRadioButton>(dialog, "optionPkz")->click();
        EXPECT_EQ(Control<QLineEdit>(dialog, "editArchive")->text().right(9), QStringLiteral("/game.pkz"));
        Control<QRadioButton>(dialog, "optionPk3")->click();
        Control<QCheckBox>(dialog, "chbxWithSources")->click();
    });
    menuItem()->trigger();
    EXPECT_EQ(seen.archive, S(target + ".pk3"));
    EXPECT_EQ(ReadBack(ZipReader::Open(target + ".pk3")), targetFiles(true));
}

TEST_F(BuildArchive, anExistingArchiveIsReplacedOnlyOnYesAndProblemsAreShown)
{
    firstTransfer();
    const std::string pak = tree.file("game/pak0.pak", "an older release");
    SeenBox question;
    // No keeps the older archive and packs nothing.
    SeenArchive kept;
    modals.then([&](QDialog& dialog) {
        modals.first([&](QDialog& box) {
            question.caption = box.windowTitle();
            question.text = static_cast<QMessageBox&>(box).text();
            Press(box, QStringLiteral("&No"));
        });
        Control<QPushButton>(dialog, "btnBuild")->click();
        kept.result = Control<QLabel>(dialog, "lblArchiveResult")->text();
        Control<QPushButton>(dialog, "btnClose")->click();
    });
    menuItem()->trigger();
    EXPECT_EQ(question.caption, QStringLiteral("Build Archive"));
    EXPECT_EQ(question.text, S(pak + "\nalready exists. Replace it?"));
    EXPECT_EQ(kept.result, QString());
    EXPECT_EQ(tree.read("game/pak0.pak"), "an older release");

    // Yes replaces it; a name a pak cannot hold stops the pack, and says why.
    tree.file("game/textures/town/a_name_far_too_long_for_the_directory_of_a_pak.wal", "long");
    SeenArchive refused;
    build(&refused);
    modals.answerBox(QStringLiteral("&Yes"));
    menuItem()->trigger();
    EXPECT_EQ(refused.result, QStringLiteral("The archive was not written:"));
    EXPECT_EQ(refused.messages, QStringLiteral("'textures/town/a_name_far_too_long_for_the_directory_of_a_pak.wal' "
                                               "is 64 bytes long; a pak holds 55 at most"));
    EXPECT_EQ(tree.read("game/pak0.pak"), "an older release");

    std::filesystem::remove(tree.path("game/textures/town/a_name_far_too_long_for_the_directory_of_a_pak.wal"));
    SeenArchive replaced;
    build(&replaced);
    modals.answerBox(QStringLiteral("&Yes"));
    menuItem()->trigger();
    EXPECT_TRUE(replaced.result.startsWith(QStringLiteral("Built "))) << replaced.result.toStdString();
    EXPECT_TRUE(PakReader::Open(pak).listing().ok);
}

TEST_F(BuildArchive, cancellingLeavesNothingBehind)
{
    firstTransfer();
    const auto before = tree.entries();

    // Closed without building.
    modals.then([](QDialog& dialog) { Control<QPushButton>(dialog, "btnClose")->click(); });
    menuItem()->trigger();
    EXPECT_EQ(tree.entries(), before);

    // Cancelled once the first file is packed: the worker waits at its second
    // file until Cancel has been pressed, then stops before its third.
    std::atomic<bool> cancelPressed{false};
    std::atomic<int> reads{0};
    const std::thread::id window = std::this_thread::get_id();
    const ScopedFaultInjector gate([&](FileOp op, std::string_view) {
        if (op == FileOp::Read && std::this_thread::get_id() != window && ++reads == 2) {
            for (int wait = 0; wait < 1000 && !cancelPressed; ++wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return 0;
    });
    SeenArchive cancelled;
    build(&cancelled, [&](QDialog& dialog) {
        auto* cancel = Control<QPushButton>(dialog, "btnClose");
        auto* bar = Control<QProgressBar>(dialog, "barArchive");
        QObject::connect(bar, &QProgressBar::valueChanged, cancel, [cancel, &cancelPressed](int value) {
            if (value > 0 && cancel->text() == QStringLiteral("Cancel")) {
                cancel->click();
                cancelPressed = true;
            }
        });
    });
    menuItem()->trigger();
    EXPECT_TRUE(cancelPressed);
    EXPECT_EQ(cancelled.result, QStringLiteral("Cancelled: nothing was written."));
    EXPECT_EQ(tree.entries(), before);
}

}  // namespace
}  // namespace corvane::ui::test
