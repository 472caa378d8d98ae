#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "cli/cli.h"
#include "cli/json.h"
#include "support/temp_tree.h"

namespace corvane::cli {
namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun Cli(const std::vector<std::string>& args)
{
    std::istringstream in;
    std::ostringstream out, err;
    const int status = RunCli(args, in, out, err);
    return {status, out.str(), err.str()};
}

const std::string kExampleLevel = std::string(CORVANE_EXAMPLES_DIR) + "/harbor/maps/harbor.map";

TEST(CliScan, printsTheListsAndTheSky)
{
    const CliRun run = Cli({"scan", kExampleLevel});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "Textures: 9\n"
              "harbor/Crate1.wal\nharbor/planks.wal\nharbor/planks2.wal\nharbor/quaywall.wal\n"
              "harbor/rope.wal\nharbor/water1.wal\nharbor_trim/lamp1.wal\n"
              "harbor_trim/metal_edge.wal\nharbor_trim/rail.wal\n"
              "Sounds: 2\nharbor/bell\nharbor/gulls.wav\n"
              "Sky: harborsky\n");
}

TEST(CliScan, jsonKeepsTheBytesOfEveryName)
{
    test::TempTree tree;
    const std::string level = tree.file(
        "odd.map",
        "\"noise\" \"caf\xc3\xa9/\x01q\\\"\"\n{\n"
        "( 0 0 0 ) lat\xe9/x\xff\xfe 0 0\n"
        "( 0 0 0 ) ok/\xe2\x82\xac\xf0\x9f\x8e\xb5 0 0\n"
        "( 0 0 0 ) bad/\xed\xa0\x80\xc0\xaf\xf4\x90\x80\x80 0 0\n}\n");
    const CliRun run = Cli({"scan", level, "--json"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "{\"textures\": [\"bad/\\u00ed\\u00a0\\u0080\\u00c0\\u00af\\u00f4\\u0090\\u0080\\u0080.wal\", "
              "\"lat\\u00e9/x\\u00ff\\u00fe.wal\", \"ok/\xe2\x82\xac\xf0\x9f\x8e\xb5.wal\"], "
              "\"sounds\": [\"caf\xc3\xa9/\\u0001q\\\\\"], \"sky\": \"not found\"}\n");

    // As text, a control byte is shown as \xNN; other bytes are written as they are.
    const CliRun text = Cli({"scan", level});
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("\nSounds: 1\ncaf\xc3\xa9/\\x01q\\\n"), std::string::npos) << text.out;
}

TEST(CliScan, failuresGoToStandardErrorWithStatusOne)
{
    test::TempTree tree;
    const CliRun missing = Cli({"scan", tree.path("missing.map")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err,
              "corvane-cli: can't open file '" + tree.path("missing.map") + "': No such file or directory\n");

    const std::string pipe = tree.path("pipe.map");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const CliRun notAFile = Cli({"scan", pipe});
    EXPECT_EQ(notAFile.status, 1);
    EXPECT_EQ(notAFile.err, "corvane-cli: can't open file '" + pipe + "': Not a regular file\n");

    const CliRun noBrace = Cli({"scan", tree.file("flat.map", "{\n\"sky\" \"x\"\n")});
    EXPECT_EQ(noBrace.status, 1);
    EXPECT_EQ(noBrace.out, "");
    EXPECT_EQ(noBrace.err, "List index out of bounds.\n");

    EXPECT_EQ(Cli({"scan", tree.file("empty.map")}).err, "List index out of bounds.\n");
}

TEST(CliArguments, wrongArgumentsGiveUsageAndStatusTwo)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"frobnicate"}, {"scan"}, {"scan", "a.map", "b.map"},
          {"scan", "--xml", "a.map"}, {"scan", ""}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(args);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("Usage: corvane-cli"), std::string::npos);
    }
}

TEST(CliArguments, helpAndVersionGoToStandardOutput)
{
    const CliRun help = Cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("scan LEVEL.map [--json]"), std::string::npos);
    const CliRun scanHelp = Cli({"scan", "--help"});
    EXPECT_EQ(scanHelp.status, 0);
    EXPECT_EQ(scanHelp.out.rfind("Usage: corvane-cli scan", 0), 0u);
    const CliRun version = Cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("corvane-cli ") + CORVANE_VERSION + "\n");

    // After "--" a name that looks like an option is a level.
    test::TempTree tree;
    tree.file("-odd.map", "\n{\n( 0 0 0 ) a/b 0\n}\n");
    const CliRun dashed = Cli({"scan", "--", tree.path("-odd.map")});
    EXPECT_EQ(dashed.status, 0);
    EXPECT_EQ(dashed.out, "Textures: 1\na/b.wal\nSounds: 0\nSky: not found\n");
}

TEST(JsonString, escapesWhatJsonRequires)
{
    EXPECT_EQ(JsonString(""), "\"\"");
    EXPECT_EQ(JsonString("a\"b\\c/d"), "\"a\\\"b\\\\c/d\"");
    EXPECT_EQ(JsonString("\t\n\r\b\f\x1f\x7f"), "\"\\t\\n\\r\\b\\f\\u001f\\u007f\"");
    EXPECT_EQ(JsonString("\xc3"), "\"\\u00c3\"") << "a sequence cut short";
    EXPECT_EQ(JsonString("\xc3\xa9\xc3"), "\"\xc3\xa9\\u00c3\"");
    EXPECT_EQ(JsonString("\xf4\x8f\xbf\xbf"), "\"\xf4\x8f\xbf\xbf\"") << "U+10FFFF is valid";
    EXPECT_EQ(JsonStringArray({"a", "b"}), "[\"a\", \"b\"]");
    EXPECT_EQ(JsonStringArray({}), "[]");
}

}  // namespace
}  // namespace corvane::cli
