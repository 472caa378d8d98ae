#include "hardening_fixture.h"

#include <algorithm>
#include <filesystem>

namespace corvane::test {

namespace fs = std::filesystem;

OverwriteAnswer AgreeingHost::showPrompt(const PromptRequest& request)
{
    std::string text = request.caption;
    for (const std::string& line : request.lines)
        text += "\n" + line;
    shown.push_back(text);
    return request.showYesToAll ? OverwriteAnswer::YesToAll : OverwriteAnswer::Yes;
}

MessageResult AgreeingHost::messageBox(const MessageRequest& request)
{
    boxes.push_back(request);
    shown.push_back(request.caption + "\n" + request.text);
    return request.buttons.empty() ? MessageButton::Ok : request.buttons.front();
}

void AgreeingHost::setStatus(StatusLine line, std::string_view text)
{
    if (line == StatusLine::Total)
        lastTotal = text;
}

HardeningFixture::HardeningFixture() : before_(tree.root())
{
    tree.file("outside/keep.txt", "bystander");
    tree.file("outside/w/a.wal", "not part of any tree");

    source("work/maps/w.map", "the level", "game/maps/w.map");
    source("work/maps/w.bsp", "compiled level", "game/maps/w.bsp");
    source("work/env/wskybk.tga", "sky back", "game/env/wskybk.tga");
    source("work/env/wskyft.pcx", "sky front", "game/env/wskyft.pcx");
    source("work/textures/w/a.wal", "texture a, new", "game/textures/w/a.wal");
    source("work/textures/w/b.wal", "texture b", "game/textures/w/b.wal");
    source("work/textures/x/c.wal", "texture c", "game/textures/x/c.wal");
    source("work/sound/w/bell.wav", "bell, new", "game/sound/w/bell.wav");
    source("work/sound/w/horn.wav", "horn", "game/sound/w/horn.wav");
    source("base/pellark/p1.txt", "pellark one, new", "game/p1.txt");
    source("base/pellark/sub/p2.txt", "pellark two", "game/sub/p2.txt");

    for (const char* target : {"game/maps/w.bsp", "game/textures/w/a.wal", "game/sound/w/bell.wav",
                               "game/p1.txt"}) {
        const std::string content = std::string("older ") + target;
        tree.file(target, content);
        older[target] = content;
    }

    for (const char* name : {"w/a.wal", "w/b.wal", "x/c.wal"})
        textures.add(name);
    for (const char* name : {"w/bell", "w/horn.wav"})
        sounds.add(name);
    textures.sort();
    sounds.sort();

    job.target = path("game");
    job.targPath = job.target;
    job.srcPath = path("work/maps");
    job.currentMapPath = path("work/maps/w.map");
    job.includeSky = true;
    job.skyName = "wsky";
    job.includePellark = true;
    job.pellarkPath = path("base/pellark");
    before_ = Snapshot(tree.root());
}

void HardeningFixture::source(const std::string& relative, const std::string& content,
                              const std::string& destination)
{
    tree.file(relative, content);
    originals[relative] = content;
    destinations[relative] = destination;
}

TransferOutcome HardeningFixture::run(TransferMode mode)
{
    job.mode = mode;
    return RunTransferCommand(job, textures, sounds, session, log, host).outcome;
}

bool HardeningFixture::exists(const std::string& relative) const
{
    return fs::exists(fs::symlink_status(path(relative)));
}

bool HardeningFixture::told(const std::string& text) const
{
    const auto has = [&](const std::string& line) { return line.find(text) != std::string::npos; };
    return std::any_of(log.lines().begin(), log.lines().end(), has) ||
           std::any_of(host.shown.begin(), host.shown.end(), has);
}

void HardeningFixture::expectNothingLostOrDamaged(TransferMode mode) const
{
    for (const auto& [relative, content] : originals) {
        const std::string& destination = destinations.at(relative);
        if (exists(relative)) {
            EXPECT_EQ(read(relative), content) << relative << " changed";
        } else {
            EXPECT_EQ(mode, TransferMode::Move) << relative << " vanished in a copy";
            ASSERT_TRUE(exists(destination)) << relative << " was deleted but never arrived";
            EXPECT_EQ(read(destination), content) << relative << " was deleted after an incomplete copy";
        }
    }
    for (const std::string& entry : tree.entries("game")) {
        if (entry.back() == '/')
            continue;
        const std::string relative = "game/" + entry;
        const std::string content = read(relative);
        const auto old = older.find(relative);
        bool whole = old != older.end() && old->second == content;
        for (const auto& [from, to] : destinations)
            whole = whole || (to == relative && originals.at(from) == content);
        EXPECT_TRUE(whole) << relative << " is neither its older version nor a whole copy";
    }
    EXPECT_TRUE(exists("work/maps/w.map")) << "the level source is never moved";
    for (const auto& [relative, content] : older)
        EXPECT_TRUE(exists(relative)) << relative << " was lost";
    EXPECT_EQ(LeftoverTemporaries(tree.root()), std::vector<std::string>{});

    std::vector<std::string> allowed{"game"};
    if (mode == TransferMode::Move)
        allowed.push_back("work");
    EXPECT_EQ(Snapshot(tree.root()).changesSince(before_, allowed), std::vector<std::string>{});
}

}  // namespace corvane::test
