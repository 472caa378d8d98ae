// Settings files damaged in every way a disk, another program or a person can
// damage them: garbage bytes, broken escapes, values of other types, endless
// or blocking files in the file's place. Loading gives one of the three
// error texts (or the values), saving writes a well-formed file or reports
// the value it could not write, and nothing hangs or crashes.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "settings/qt_key_store.h"
#include "settings/settings.h"
#include "settings_helpers.h"
#include "support/error_of.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::ErrorOf;
using test::TempTree;

using test::NoView;

bool IsOneOfTheErrors(const std::string& error)
{
    return error == "no error" || error.starts_with("Invalid data type for '") ||
           error.starts_with("Failed to get data for '");
}

// All four paths below one folder.
Settings Paths(const std::string& all)
{
    return test::Paths(all + "/src", all + "/targ", all + "/pak", all + "/pellark");
}

class DamagedSettings : public ::testing::Test {
protected:
    TempTree tree;
    int files = 0;

    // Loads from a new file holding `content` (a new name each time: QSettings
    // keeps what it parsed per file name for the whole process).
    std::string loadFrom(const std::string& content, Settings& settings)
    {
        const std::string file = tree.file("damaged" + std::to_string(++files) + ".conf", content);
        QtKeyStore store(file);
        NoView view;
        return ErrorOf([&] { LoadSettings(settings, store, view); });
    }

    // Saving over the damage gives a file that loads back exactly.
    void expectSaveRepairs(const std::string& file)
    {
        QtKeyStore store(file);
        EXPECT_EQ(ErrorOf([&] { SaveSettings(Paths("/fixed"), store); }), "no error");
        const std::string copy = tree.file("copy" + std::to_string(++files) + ".conf", tree.read(
            fs::relative(file, tree.root()).string()));
        QtKeyStore reread(copy);
        Settings settings;
        NoView view;
        EXPECT_EQ(ErrorOf([&] { LoadSettings(settings, reread, view); }), "no error");
        EXPECT_EQ(settings.SrcPath, "/fixed/src");
        EXPECT_EQ(settings.PellarkPath, "/fixed/pellark");
    }
};

TEST_F(DamagedSettings, brokenEscapesAndGarbageGiveTheErrorTextsOrValues)
{
    const std::string damaged[] = {
        std::string("\0\0\0\0\xff\xfe\x01[General]\nSrcPath=/a\n", 24),
        "[General]\nSrcPath=@ByteArray(\nTargPath=@Variant(\n",
        "[General]\nSrcPath=@Variant(\\0\\0\\0\\x7f\\xff\\xff\\xff\\xff\\0\\0\\0\\0)\n",
        "[General]\nSrcPath=@Variant(\\0\\0\\0\\n\\xff\\xff\\xff\\xff)\n",
        "[General]\nSrcPath=@Variant(\\0\\0\\0\\x1c\\0\\0\\0\\x7f\\xff\\xff\\xff)\n",
        "[General]\nSrcPath=@Rect(1 2\nTargPath=@Size(\nPakPath=@Point(x y)\n",
        "[General]\nSrcPath=\"unterminated\nTargPath=\\x\\u\\\\\\\n",
        "[General]\nSrcPath=a\\\nb\\\nc\n",
        "SrcPath\nTargPath==\n=PakPath\n[General]\n[General]\nSrcPath=/one\nSrcPath=/two\n",
        "[General]\nSrcPath=" + std::string(1 << 20, 'x') + "\n",
        "[" + std::string(1 << 16, '[') + "\n",
        "[General]\nSrcPath=\xc3\x28\xa0\xa1\xe2\x28\xa1\n",
    };
    for (const std::string& content : damaged) {
        Settings settings = Paths("/previous");
        const std::string error = loadFrom(content, settings);
        EXPECT_TRUE(IsOneOfTheErrors(error)) << error;
        expectSaveRepairs(tree.path("damaged" + std::to_string(files) + ".conf"));
    }
}

// Random bytes, many times over: never a crash, only the three outcomes.
TEST_F(DamagedSettings, randomBytesNeverCrashTheLoad)
{
    std::mt19937 random(20261207);
    const std::string alphabet = "[]=@\\\"(),;#\n\r\t\0xSrcPathGeneral/ByteArrayVariant\xff\x80";
    for (int round = 0; round < 200; ++round) {
        std::string content = round % 2 ? "[General]\nSrcPath=" : "";
        const std::size_t length = random() % 400;
        for (std::size_t i = 0; i < length; ++i)
            content += round % 3 ? alphabet[random() % alphabet.size()] : static_cast<char>(random());
        Settings settings;
        const std::string error = loadFrom(content, settings);
        EXPECT_TRUE(IsOneOfTheErrors(error)) << error;
    }
}

// Runs `work` in a child and reports whether it ended by itself within the time.
bool EndsWithin(int seconds, const std::function<void()>& work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(static_cast<unsigned>(seconds));
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A pipe or an endless device in the file's place must neither block the
// program's start nor its close, nor fill the memory.
TEST_F(DamagedSettings, aPipeOrADeviceInTheFilesPlaceNeitherBlocksNorExhausts)
{
    const std::string fifo = tree.path("fifo.conf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string zero = tree.path("zero.conf");
    fs::create_symlink("/dev/zero", zero);
    for (const std::string& file : {fifo, zero}) {
        std::string error;
        EXPECT_TRUE(EndsWithin(10, [&] {
            QtKeyStore store(file);
            Settings settings;
            NoView view;
            const std::string loaded = ErrorOf([&] { LoadSettings(settings, store, view); });
            if (loaded != "Failed to get data for 'SrcPath'")
                ::_exit(2);
            ErrorOf([&] { SaveSettings(Paths("/a"), store); });
        })) << file;
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
}

}  // namespace
}  // namespace corvane
