// The plan against the transfer it predicts. Generated releases hold every
// status in every kind: nested folders, refused names of each sort, stock
// names, a sky with up to three images a face, a .bsp and a .map in each
// state, a Pellark tree with the parts its copy leaves out, and a target that
// already holds some of it. The plan is made first and must give each file
// the status it was made with; then the real transfer runs with a person who
// answers every question by a fixed table, and its log, its questions and
// the files on disk must be what the plan's statuses say. Decisions taken
// from the plan then answer the same release as those answers given one
// question at a time do.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shown_name.h"
#include "archive/archive_bytes.h"
#include "support/temp_tree.h"
#include "transfer/command.h"
#include "transfer/decisions.h"
#include "transfer/plan.h"
#include "transfer/resource_names.h"
#include "transfer/stock.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::TempTree;
using Lines = std::vector<std::string>;

// Answers the question whether to go on with Ok, every overwrite question
// from a table by the file it would replace, and every box with its first
// button; keeps what was asked.
class TableHost : public Host {
public:
    std::map<std::string, OverwriteAnswer> answers;
    std::vector<PromptRequest> questions;  // the overwrite questions, in order
    std::vector<MessageRequest> boxes;
    std::size_t prompts = 0;  // every prompt shown, notices and the question whether to go on included

    OverwriteAnswer showPrompt(const PromptRequest& request) override
    {
        ++prompts;
        if (request.kind != PromptKind::Overwrite)
            return OverwriteAnswer::Yes;
        questions.push_back(request);
        const auto answer = answers.find(request.target);
        if (answer == answers.end()) {
            ADD_FAILURE() << "asked about " << request.target;
            return OverwriteAnswer::No;
        }
        return answer->second;
    }
    MessageResult messageBox(const MessageRequest& request) override
    {
        boxes.push_back(request);
        return request.buttons.front();
    }
    void alert(AlertSound) override {}
    void setStatus(StatusLine, std::string_view) override {}
    void setCaption(std::string_view) override {}
};

// A working tree, a Pellark tree and a target made from a seed, with the
// status each file was made to have.
class GeneratedRelease {
public:
    GeneratedRelease(TempTree& tree, unsigned seed) : tree_(tree), random_(seed)
    {
        job.srcPath = tree.dir("work/maps");
        job.currentMapPath = tree.path("work/maps/level.map");
        job.target = job.targPath = tree.path("game");
        job.mode = seed % 4 == 3 ? TransferMode::Move : TransferMode::Copy;
        levelFiles();
        sky(seed);
        resources(ResourceKind::Textures);
        resources(ResourceKind::Sounds);
        if (seed % 2 == 0)
            pellark();
        if (seed % 3 == 0)
            tree.dir("game");
        if (seed % 4 == 1)
            baseGame(seed);
    }

    TransferJob job;
    LoadedLevel level;
    // Target path (or name, for what has no file) -> the status it was made with.
    std::map<std::string, PlanStatus> intended;
    // Target files present before the run -> their content.
    std::map<std::string, std::string> before;
    // Source files -> their content.
    std::map<std::string, std::string> sources;

    OverwriteAnswer pickAnswer() { return random_() % 2 ? OverwriteAnswer::Yes : OverwriteAnswer::No; }

private:
    unsigned pick(unsigned n) { return static_cast<unsigned>(random_() % n); }

    // Makes a file the transfer takes from `source` (below the sandbox) to
    // `target` with the given status.
    void place(const std::string& source, const std::string& target, PlanStatus status)
    {
        const std::string content = "bytes of " + source + std::string(pick(40), '+');
        if (status != PlanStatus::Missing)
            sources[tree_.file(source, content)] = content;
        std::string old;
        if (status == PlanStatus::Replace)
            old = "older " + target;
        else if (status == PlanStatus::Same)
            old = content;
        else if (status == PlanStatus::Missing && pick(2))
            old = "in the target only";
        if (!old.empty())
            before[tree_.file(target, old)] = old;
        intended[tree_.path(target)] = status;
    }

    PlanStatus anyFileStatus(bool missing = true)
    {
        static constexpr PlanStatus kStatuses[] = {PlanStatus::New, PlanStatus::Replace, PlanStatus::Same,
                                                   PlanStatus::Missing};
        return kStatuses[pick(missing ? 4 : 3)];
    }

    void levelFiles()
    {
        const std::string map = "{\n}\n";
        sources[tree_.file("work/maps/level.map", map)] = map;
        intended[tree_.path("game/maps/level.map")] = PlanStatus::New;
        if (const unsigned state = pick(3); state > 0) {
            const std::string old = state == 1 ? map : "an older level";
            before[tree_.file("game/maps/level.map", old)] = old;
            intended[tree_.path("game/maps/level.map")] = state == 1 ? PlanStatus::Same : PlanStatus::Replace;
        }
        place("work/maps/level.bsp", "game/maps/level.bsp", anyFileStatus());
    }

    void sky(unsigned seed)
    {
        job.includeSky = seed % 5 != 4;
        if (!job.includeSky)
            return;
        if (seed % 7 == 5) {
            job.skyName = "unit1_";
            intended["sky unit1_"] = PlanStatus::Stock;
            return;
        }
        if (seed % 7 == 6) {
            job.skyName = "s*";
            intended["sky s*"] = PlanStatus::Refused;
            return;
        }
        job.skyName = "sky" + std::to_string(seed);
        for (const char* face : {"bk", "ft", "lf", "rt", "dn", "up"}) {
            const unsigned images = pick(4);
            if (images == 0)
                intended[job.skyName + face + ".*"] = PlanStatus::Missing;
            const char* extensions[] = {"pcx", "tga", "wal"};
            for (unsigned k = 0; k < images; ++k) {
                const std::string name = job.skyName + face + "." + extensions[k];
                if (k == 2)
                    tree_.file("work/env/" + name, "a third image, never taken");
                else
                    place("work/env/" + name, "game/env/" + name, anyFileStatus(false));
            }
        }
    }

    void resources(ResourceKind kind)
    {
        const bool textures = kind == ResourceKind::Textures;
        const std::string folder = textures ? "textures/" : "sound/";
        ResourceList& list = textures ? level.TextureList : level.SoundList;
        const unsigned count = 6 + pick(14);
        for (unsigned i = 0; i < count; ++i) {
            const char* folders[] = {"f0/", "f1/", "f1/sub/", "Big/", "f2/deep/er/"};
            std::string listed = folders[pick(5)] + std::string(textures ? "t" : "s") + std::to_string(i);
            // Textures are listed with ".wal"; a sound may be listed without ".wav".
            const std::string file = listed + (textures ? ".wal" : ".wav");
            if (textures || pick(2))
                listed = file;
            list.add(listed);
            place("work/" + folder + file, "game/" + folder + file, anyFileStatus());
        }
        const std::string ext = textures ? ".wal" : ".wav";
        const std::string refused[] = {"../up" + ext, "f1/ctl\x1b[2J" + ext, "f0/" + std::string(300, 'n') + ext,
                                       "C:/x" + ext, "f1/../../x" + ext};
        for (unsigned i = pick(3); i < 5; i += 1 + pick(3)) {
            list.add(refused[i]);
            intended[refused[i]] = PlanStatus::Refused;
        }
        // The game's own, in the working tree all the same: never taken.
        ResourceList& stock = textures ? level.StockTextures : level.StockSounds;
        const std::string stockName = textures ? "e1u1/floor.wal" : "world/amb.wav";
        tree_.file("work/" + folder + stockName, "the game's own");
        stock.add(stockName);
        intended[stockName] = PlanStatus::Stock;
        list.sort();
    }

    // A base game decides what is stock: it has the game's own names of the
    // lists (in a pak), a listed custom texture (in a pk3, in upper case) and
    // sound (loose, in mixed case), and for some seeds the sky (one face, in
    // the pk3). A custom texture in a game-named folder is then shipped.
    void baseGame(unsigned seed)
    {
        job.basePath = tree_.dir("baseq2");
        const std::string mine = "e2u1/mine" + std::to_string(seed) + ".wal";
        level.StockTextures.add(mine);
        place("work/textures/" + mine, "game/textures/" + mine, anyFileStatus());

        tree_.file("baseq2/pak0.pak", test::PakBytes({{"textures/e1u1/floor.wal", "base"},
                                                      {"sound/world/amb.wav", "base"},
                                                      {"env/unit1_bk.pcx", "base"}}));
        std::vector<test::ZipItem> zip;
        const auto makeStock = [&](ResourceKind kind, const ResourceList& list) {
            for (const std::string& listed : list) {
                ResourceEntry entry = ResolveEntry(kind, listed, PlacesOf(kind, job.srcPath, job.targPath));
                if (!entry.refusal.empty())
                    continue;
                intended.erase(entry.target);
                intended[listed] = PlanStatus::Stock;
                return TransferName(kind, listed);
            }
            return std::string();
        };
        if (const std::string texture = makeStock(ResourceKind::Textures, level.TextureList); !texture.empty()) {
            std::string upper = "TEXTURES/" + texture;
            for (char& c : upper)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            zip.push_back({upper, "base"});
        }
        if (const std::string sound = makeStock(ResourceKind::Sounds, level.SoundList); !sound.empty())
            tree_.file("baseq2/Sound/" + sound, "base");
        if (job.includeSky && seed % 8 == 1 && job.skyName.starts_with("sky")) {
            zip.push_back({"env/" + job.skyName + "UP.TGA", "base"});
            for (auto it = intended.begin(); it != intended.end();) {
                const bool face = it->first.starts_with(job.skyName) ||
                                  it->first.find("/env/" + job.skyName) != std::string::npos;
                it = face ? intended.erase(it) : std::next(it);
            }
            intended["sky " + job.skyName] = PlanStatus::Stock;
        }
        tree_.file("baseq2/patch.pk3", test::ZipBytes(zip));
        ApplyStockRule(level, StockRuleFor(job.basePath));
    }

    void pellark()
    {
        job.includePellark = true;
        job.pellarkPath = tree_.dir("pellark");
        tree_.file("pellark/config.cfg", "left out");
        tree_.file("pellark/help/index.txt", "left out");
        tree_.file("pellark/models/helpdesk.pcx", "left out");
        tree_.file("pellark/.git/HEAD", "left out");
        for (const char* file : {"autoexec.cfg", "models/a.md2", "models/sub/b.pcx", "pics/c.pcx", "z.txt"}) {
            if (pick(5) != 0)
                place("pellark/" + std::string(file), "game/" + std::string(file), anyFileStatus(false));
        }
    }

    TempTree& tree_;
    std::mt19937 random_;
};

bool Exists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

// The status each item was made with, by its target (or its name).
PlanStatus IntendedOf(const GeneratedRelease& release, const PlanItem& item)
{
    for (const std::string& key : {item.target, item.name, "sky " + item.name}) {
        const auto found = release.intended.find(key);
        if (found != release.intended.end())
            return found->second;
    }
    ADD_FAILURE() << "an item nobody made: " << item.name;
    return PlanStatus::Refused;
}

// The log's file lines, one entry each: a report block becomes its label and
// name; lines about folders and banners are left out, and so is everything
// about the level's .map, which the test checks on disk.
Lines FileEvents(const Lines& log)
{
    Lines events;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const std::string& line = log[i];
        if ((line == "Unsafe name refused:  " || line == "Does not exist:  ") && i + 1 < log.size()) {
            events.push_back(line + log[++i].substr(3));
            continue;
        }
        for (const char* prefix : {"Copied: ", "Moved: ", "Already Exists: ", "Already exists: ", "File Exists: ",
                                   "File Already Exists:  ", "Failed copy: \n", "Failed move: \n", "Could not copy file:\n"}) {
            if (line.starts_with(prefix) && !DirectoryExists(line.substr(std::string(prefix).size()))) {
                events.push_back(line);
                break;
            }
        }
    }
    return events;
}

// What the log says of each item, by its status and the answer given.
Lines PredictedEvents(const Plan& plan, const TransferJob& job, const std::map<std::string, OverwriteAnswer>& answers,
                      const std::map<std::string, std::string>& before)
{
    Lines events;
    std::string previousFace;  // the sky's first and second image of a face answer No differently
    for (const PlanItem& item : plan.items) {
        const bool moved = item.movesSource;
        const std::string copied = moved ? "Moved: " : "Copied: ";
        const bool resource = item.kind == PlanKind::Texture || item.kind == PlanKind::Sound;
        const std::string shown = resource ? EntryRelativePath(TransferName(item.kind == PlanKind::Texture
                                                                                ? ResourceKind::Textures
                                                                                : ResourceKind::Sounds,
                                                                            item.name))
                                           : item.target;
        const std::string face = item.kind == PlanKind::Sky ? item.name.substr(0, item.name.find('.')) : "";
        const bool secondImage = !face.empty() && face == previousFace;
        previousFace = face;
        switch (item.status) {
        case PlanStatus::New:
            if (item.kind != PlanKind::Level)
                events.push_back(copied + shown);
            break;
        case PlanStatus::Replace:
        case PlanStatus::Same:
            if (item.scope == PlanScope::None)
                break;  // the level's own file, kept quietly when it holds the same bytes
            if (answers.at(item.target) == OverwriteAnswer::Yes) {
                events.push_back(copied + shown + "\tOverwritten");
            } else if (item.kind == PlanKind::Sky) {
                events.push_back((secondImage ? "File Already Exists:  " : "File Exists: ") + shown);
            } else {
                const bool levelFile = item.kind == PlanKind::Bsp || item.kind == PlanKind::Level;
                events.push_back((levelFile ? "Already exists: " : "Already Exists: ") + shown);
            }
            break;
        case PlanStatus::Missing:
            if (resource)
                events.push_back("Does not exist:  " + item.source);
            else if (item.kind == PlanKind::Bsp)
                events.push_back(before.count(item.target) ? "Could not copy file:\n" + job.currentMapPath
                                 : job.mode == TransferMode::Move ? "Failed move: \n" + item.source
                                                                  : "Failed copy: \n" + item.source);
            break;
        case PlanStatus::Refused:
            if (resource)
                events.push_back("Unsafe name refused:  " + ShownName(item.name));
            break;
        case PlanStatus::Stock:
        case PlanStatus::NotIncluded: break;
        }
    }
    return events;
}

class PlanAgreement : public ::testing::TestWithParam<unsigned> {};

TEST_P(PlanAgreement, statusesPredictTheLogTheQuestionsAndTheFiles)
{
    TempTree tree;
    GeneratedRelease release(tree, GetParam());
    const TransferJob& job = release.job;
    const Lines entriesBefore = tree.entries();

    const Plan plan = PlanTransfer(job, release.level);

    // The plan writes nothing, and gives every file the status it was made with.
    EXPECT_EQ(tree.entries(), entriesBefore);
    EXPECT_EQ(plan.target, Exists(job.target) ? PlanTarget::Exists : PlanTarget::Create);
    std::size_t madeWithAStatus = 0;
    for (const PlanItem& item : plan.items) {
        EXPECT_EQ(item.status, IntendedOf(release, item)) << item.name;
        ++madeWithAStatus;
    }
    EXPECT_EQ(madeWithAStatus, release.intended.size());

    // A fixed answer for every file that exists in the target.
    TableHost host;
    for (const PlanItem& item : plan.items) {
        if (item.status == PlanStatus::Replace || item.status == PlanStatus::Same)
            host.answers[item.target] = release.pickAnswer();
    }

    TransferLog log;
    TransferSession session;
    const TransferReport report =
        RunTransferCommand(job, release.level.TextureList, release.level.SoundList, session, log, host);
    ASSERT_EQ(report.outcome, TransferOutcome::RanThrough);

    // The log, item by item and in the plan's order.
    EXPECT_EQ(FileEvents(log.lines()), PredictedEvents(plan, job, host.answers, release.before));

    // The problems the transfer reports after its log are the plan's missing
    // and refused items, with the same reasons; a .bsp that neither side has
    // is a failed copy.
    std::vector<TransferProblem> problems;
    std::vector<std::string> failed;
    for (const PlanItem& item : plan.items) {
        if (item.status == PlanStatus::Missing && item.kind == PlanKind::Bsp && !release.before.count(item.target))
            failed.push_back(item.source);
        else if (item.status == PlanStatus::Missing)
            problems.push_back({TransferProblem::Kind::Missing, item.source, ""});
        else if (item.status == PlanStatus::Refused)
            problems.push_back({item.kind == PlanKind::Sky ? TransferProblem::Kind::RefusedSky
                                                           : TransferProblem::Kind::Refused,
                                item.name, item.reason});
    }
    EXPECT_EQ(report.problems, problems);
    std::vector<std::string> failures;
    for (const TransferFailure& failure : report.failures)
        failures.push_back(failure.path);
    EXPECT_EQ(failures, failed);

    // Asked about: exactly the items that exist in the target, in order (the
    // level's .map only when it differs); each question with its buttons.
    Lines asked, predicted;
    for (const PromptRequest& question : host.questions)
        asked.push_back(question.target);
    for (const PlanItem& item : plan.items) {
        if (item.scope == PlanScope::None)
            continue;
        predicted.push_back(item.target);
        const auto question = std::find_if(host.questions.begin(), host.questions.end(),
                                           [&](const PromptRequest& q) { return q.target == item.target; });
        if (question != host.questions.end()) {
            EXPECT_EQ(question->showYesToAll, item.scope != PlanScope::Alone) << item.target;
        }
    }
    EXPECT_EQ(asked, predicted);

    // On disk: what was copied holds the source's bytes, what was kept its own,
    // and what nobody asked about arrives only when new.
    for (const PlanItem& item : plan.items) {
        const auto old = release.before.find(item.target);
        const auto source = release.sources.find(item.source);
        const bool taken = item.status == PlanStatus::New ||
                           (item.scope != PlanScope::None && host.answers.at(item.target) == OverwriteAnswer::Yes);
        if (taken) {
            ASSERT_NE(source, release.sources.end()) << item.source;
            EXPECT_EQ(tree.read(fs::relative(item.target, tree.root()).string()), source->second) << item.target;
            EXPECT_EQ(FileExists(item.source), !item.movesSource) << item.source;
        } else if (old != release.before.end()) {
            EXPECT_EQ(tree.read(fs::relative(item.target, tree.root()).string()), old->second) << item.target;
        } else if (!item.target.empty()) {
            EXPECT_FALSE(Exists(item.target)) << item.target;
        }
    }
    // The game's own files and what the Pellark copy leaves out never arrive.
    for (const char* left : {"game/textures/e1u1", "game/sound/world", "game/config.cfg", "game/help",
                             "game/models/helpdesk.pcx", "game/.git"})
        EXPECT_FALSE(Exists(tree.path(left))) << left;
}

// A plan that leaves the bytes for later, once they are compared, is the
// plan that reads them at once; meanwhile only Same items are pending.
TEST_P(PlanAgreement, bytesComparedLaterGiveThePlanThatComparesThemAtOnce)
{
    TempTree tree;
    GeneratedRelease release(tree, GetParam());
    const Plan now = PlanTransfer(release.job, release.level);
    Plan later = PlanTransfer(release.job, release.level, PlanBytes::Later);
    ASSERT_EQ(later.items.size(), now.items.size());
    for (std::size_t i = 0; i < later.items.size(); ++i) {
        PlanItem& item = later.items[i];
        EXPECT_FALSE(now.items[i].bytesPending);
        EXPECT_EQ(item.scope, now.items[i].scope) << item.name;
        EXPECT_EQ(item.bytesPending, item.status == PlanStatus::Same && item.kind != PlanKind::Level) << item.name;
        CompareBytes(item);
        EXPECT_FALSE(item.bytesPending);
        EXPECT_EQ(item.status, now.items[i].status) << item.name;
    }
}

// "Yes to All" and "No to All" hold for the rest of a scope: the first file
// of each Folder scope that exists in the target is asked about, the rest of
// its scope follows that answer unasked, and so does the Pellark tree.
TEST_P(PlanAgreement, aToAllAnswerCoversTheRestOfItsScope)
{
    TempTree tree;
    GeneratedRelease release(tree, GetParam());
    const Plan plan = PlanTransfer(release.job, release.level);

    TableHost host;
    std::map<std::string, OverwriteAnswer> effective;  // what each asked-about item comes to
    std::map<std::pair<PlanScope, std::size_t>, OverwriteAnswer> scopes;
    Lines predicted;
    for (const PlanItem& item : plan.items) {
        if (item.scope == PlanScope::None)
            continue;
        if (item.scope == PlanScope::Alone) {
            effective[item.target] = host.answers[item.target] = release.pickAnswer();
            predicted.push_back(item.target);
            continue;
        }
        const auto key = std::make_pair(item.scope, item.scopeId);
        if (!scopes.count(key)) {
            scopes[key] = release.pickAnswer() == OverwriteAnswer::Yes ? OverwriteAnswer::YesToAll
                                                                        : OverwriteAnswer::NoToAll;
            host.answers[item.target] = scopes[key];
            predicted.push_back(item.target);
        }
        effective[item.target] = scopes[key] == OverwriteAnswer::YesToAll ? OverwriteAnswer::Yes : OverwriteAnswer::No;
    }

    TransferLog log;
    TransferSession session;
    RunTransferCommand(release.job, release.level.TextureList, release.level.SoundList, session, log, host);

    Lines asked;
    for (const PromptRequest& question : host.questions)
        asked.push_back(question.target);
    EXPECT_EQ(asked, predicted);
    EXPECT_EQ(FileEvents(log.lines()), PredictedEvents(plan, release.job, effective, release.before));
}

// Decisions taken beforehand answer the transfer as the same answers given
// one question at a time would: the same release, made twice from its seed,
// gives the same log, the same problems and the same boxes (but for the
// refusals the plan lists), and nobody is asked anything.
class DecidedRelease : public ::testing::TestWithParam<unsigned> {};

TEST_P(DecidedRelease, givesTheLogOfTheSameAnswersGivenOneByOne)
{
    TempTree tree;
    struct Run {
        Lines log;
        TransferReport report;
        std::vector<std::string> boxes;
        std::size_t prompts = 0;
    };
    std::mt19937 decide(GetParam());
    Decisions decisions;
    const auto run = [&](bool decided) {
        for (const fs::directory_entry& made : fs::directory_iterator(tree.root()))
            fs::remove_all(made.path());
        GeneratedRelease release(tree, GetParam());
        const Plan plan = PlanTransfer(release.job, release.level);
        if (decisions.empty()) {
            for (const PlanItem& item : plan.items) {
                if (Decidable(item))
                    decisions[item.target] = decide() % 2 ? Decision::Replace : Decision::Keep;
            }
        }
        TableHost person;
        DecidedHost answering(person, plan, decisions);
        if (!decided) {
            for (const auto& [target, decision] : decisions)
                person.answers[target] = decision == Decision::Replace ? OverwriteAnswer::Yes : OverwriteAnswer::No;
        }
        TransferLog log;
        TransferSession session;
        Run result;
        result.report = RunTransferCommand(release.job, release.level.TextureList, release.level.SoundList, session,
                                           log, decided ? static_cast<Host&>(answering) : person);
        result.log = log.lines();
        for (const MessageRequest& box : person.boxes) {
            if (!decided && box.refusal)
                continue;
            result.boxes.push_back(box.caption + ": " + box.text);
        }
        result.prompts = person.prompts;
        return result;
    };
    const Run classic = run(false);
    const Run reviewed = run(true);

    EXPECT_EQ(reviewed.log, classic.log);
    EXPECT_EQ(reviewed.report.problems, classic.report.problems);
    EXPECT_EQ(reviewed.report.failures, classic.report.failures);
    EXPECT_EQ(reviewed.boxes, classic.boxes);
    EXPECT_EQ(reviewed.prompts, 0u);
    EXPECT_GT(classic.prompts, 0u) << "the classic run was asked";
}

INSTANTIATE_TEST_SUITE_P(GeneratedReleases, PlanAgreement, ::testing::Range(1u, 41u));
INSTANTIATE_TEST_SUITE_P(GeneratedReleases, DecidedRelease, ::testing::Range(1u, 21u));

// Whether the transfer can begin at all, and what it would write.
TEST(PlanTransfer, tellsWhatBecomesOfTheTargetAndSumsWhatWouldBeWritten)
{
    TempTree tree;
    LoadedLevel level;
    level.TextureList.add("a/new.wal");
    level.TextureList.add("a/replace.wal");
    level.TextureList.add("a/same.wal");
    TransferJob job;
    job.srcPath = tree.dir("work/maps");
    job.currentMapPath = tree.file("work/maps/level.map", "{\n}\n");
    tree.file("work/maps/level.bsp", "compiled");
    tree.file("work/textures/a/new.wal", "123");
    tree.file("work/textures/a/replace.wal", "12345");
    tree.file("work/textures/a/same.wal", "1234567");
    tree.file("game/textures/a/replace.wal", "54321");
    tree.file("game/textures/a/same.wal", "1234567");

    for (const auto& [target, state] : {std::pair{tree.path("game"), PlanTarget::Exists},
                                        {tree.path("new"), PlanTarget::Create},
                                        {tree.path("no/such/place"), PlanTarget::Unreachable},
                                        {std::string("/"), PlanTarget::Refused}}) {
        job.target = target;
        EXPECT_EQ(PlanTransfer(job, level).target, state) << target;
    }

    job.target = job.targPath = tree.path("game");
    const Plan plan = PlanTransfer(job, level);
    const PlanSummary summary = Summarize(plan);
    // The level (4 bytes) and its .bsp (8) are new, as are 3 bytes of texture;
    // 5 replace; the 7 that are the same are not written again.
    EXPECT_EQ(summary.bytes, 4u + 8u + 3u + 5u);
    EXPECT_EQ(summary.count(PlanStatus::New), 3u);
    EXPECT_EQ(summary.count(PlanStatus::Replace), 1u);
    EXPECT_EQ(summary.count(PlanStatus::Same), 1u);
    EXPECT_FALSE(summary.hasProblems());
    ASSERT_EQ(plan.items.size(), 5u);
    EXPECT_TRUE(plan.items[3].targetModified.has_value());
    EXPECT_FALSE(plan.items[2].targetModified.has_value());
    EXPECT_TRUE(plan.items[2].sourceModified.has_value());
}

// After a move the working tree no longer has the file; whether the target
// holds it is still told, by its time.
TEST(PlanFile, tellsTheTargetsTimeAlsoWhenTheSourceIsMissing)
{
    TempTree tree;
    const std::string moved = tree.file("game/textures/a/moved.wal", "arrived");
    const PlanItem there = PlanFile(PlanKind::Texture, "a/moved.wal", tree.path("work/textures/a/moved.wal"), moved);
    EXPECT_EQ(there.status, PlanStatus::Missing);
    EXPECT_TRUE(there.targetModified.has_value());
    EXPECT_FALSE(there.sourceModified.has_value());
    const PlanItem nowhere =
        PlanFile(PlanKind::Texture, "a/gone.wal", tree.path("work/textures/a/gone.wal"), tree.path("game/textures/a/gone.wal"));
    EXPECT_EQ(nowhere.status, PlanStatus::Missing);
    EXPECT_FALSE(nowhere.targetModified.has_value());
}

}  // namespace
}  // namespace corvane
