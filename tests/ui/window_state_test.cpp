#include <gtest/gtest.h>

#include "ui/window_state.h"

namespace corvane::ui {
namespace {

// Applying the state touches the controls a step has set, and only those.
std::vector<bool> Pending(WindowState& state)
{
    std::vector<bool> pending;
    for (Setting* setting : {&state.targetEditable, &state.browseEnabled, &state.previewEnabled, &state.useThisEnabled,
                             &state.optionsEnabled, &state.transferEnabled, &state.textureCountShown,
                             &state.soundCountShown, &state.browserShown, &state.soundsBesideFiles})
        pending.push_back(setting->takePending());
    return pending;
}

TEST(WindowState, aSettingIsPendingOnceAfterEveryTimeItIsSetAlsoToItsOwnValue)
{
    WindowState state;
    EXPECT_EQ(Pending(state), std::vector<bool>(10, true)) << "at first everything is applied";
    EXPECT_EQ(Pending(state), std::vector<bool>(10, false));

    state.previewEnabled = state.previewEnabled;  // a step that says what already holds
    UseTarget(state);
    EXPECT_EQ(Pending(state),
              (std::vector<bool>{false, true, true, true, true, true, false, false, false, false}));
    EXPECT_TRUE(state.optionsEnabled && state.transferEnabled);
    EXPECT_FALSE(state.browseEnabled || state.useThisEnabled);
}

TEST(WindowState, theLevelViewShowsTheCountLabelsThatFileNewHid)
{
    WindowState state;
    ShowLevelView(state);
    BeginFileNew(state);
    EndFileNew(state);
    EXPECT_FALSE(state.textureCountShown || state.soundCountShown);
    EXPECT_TRUE(state.fileSizeSumShown) << "the browser's byte sum is back with the browser";
    ShowLevelView(state);
    EXPECT_TRUE(state.textureCountShown && state.soundCountShown);
    EXPECT_TRUE(state.textureListShown && state.soundListShown);
    EXPECT_FALSE(state.browserShown || state.foldersShown || state.fileSizeSumShown);
}

TEST(WindowState, comparingSoundsMovesThemBesideTheFilesUntilTheLevelTab)
{
    WindowState state;
    state.compareTextures = true;
    ShowCompareTab(state);
    EXPECT_TRUE(state.textureListShown && state.textureCountShown);
    EXPECT_FALSE(state.soundListShown || state.soundsBesideFiles);

    // A path that mentions both: the sound side wins.
    state.compareSounds = true;
    ShowCompareTab(state);
    EXPECT_TRUE(state.soundListShown && state.soundCountShown && state.soundsBesideFiles);
    EXPECT_FALSE(state.textureListShown || state.textureCountShown);
    EXPECT_TRUE(state.foldersShown && !state.browserShown && !state.fileSizeSumShown);

    ShowBrowserTab(state);
    EXPECT_TRUE(state.soundsBesideFiles) << "the browser tab leaves the sounds where they are";
    ShowLevelListsTab(state);
    EXPECT_FALSE(state.soundsBesideFiles);
}

TEST(WindowState, aTransferLocksTheTargetGroupAndFileNewOpensItAgain)
{
    WindowState state;
    ShowLevelView(state);
    UseTarget(state);
    LockAfterTransfer(state);
    EXPECT_FALSE(state.targetEditable || state.browseEnabled || state.previewEnabled || state.optionsEnabled ||
                 state.transferEnabled || state.openEnabled);
    BeginFileNew(state);
    EndFileNew(state);
    EXPECT_TRUE(state.targetEditable && state.browseEnabled && state.openEnabled);
    EXPECT_FALSE(state.optionsEnabled || state.transferEnabled || state.useThisEnabled || state.tabsEnabled);
    EXPECT_EQ(state.mode, WindowMode::Idle);
}

// The complete-release box is a remembered choice: the steps that untick the
// sky and the Pellark tree lock it with them but leave it as it was.
TEST(WindowState, stepsThatUntickTheOptionsLeaveTheCompleteReleaseChoiceAlone)
{
    WindowState state;
    state.completeRelease = true;
    EXPECT_TRUE(state.completeRelease.takePending());
    for (void (*step)(WindowState&) : {BeginLevel, UseTarget, LockAfterTransfer, BeginFileNew, EndFileNew}) {
        step(state);
        EXPECT_TRUE(state.completeRelease);
        EXPECT_FALSE(state.completeRelease.takePending()) << "no step speaks about it";
    }
    EXPECT_FALSE(state.optionsEnabled || state.skyIncluded || state.pellarkIncluded);
}

}  // namespace
}  // namespace corvane::ui
