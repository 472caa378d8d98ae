#include "ui/window_state.h"

namespace corvane::ui {

namespace {

// The options as they are before "Use this": locked, unticked.
void LockOptions(WindowState& state)
{
    state.transferEnabled = false;
    state.optionsEnabled = false;
    state.skyIncluded = false;
    state.pellarkIncluded = false;
}

}  // namespace

void BeginLevel(WindowState& state)
{
    state.mode = WindowMode::MapLoaded;
    LockOptions(state);
    state.useThisEnabled = false;
    state.compareOffered = false;
    state.pooled = false;
}

void ShowLevelView(WindowState& state)
{
    state.browseEnabled = true;
    state.targetEditable = true;
    state.textureListShown = true;
    state.soundListShown = true;
    state.soundsBesideFiles = false;
    state.soundHeadingShown = true;
    state.textureHeadingShown = true;
    state.textureCountShown = true;
    state.soundCountShown = true;
    state.fileSizeSumShown = false;
    state.browserShown = false;
    state.foldersShown = false;
    state.tabsEnabled = true;
}

void ShowBrowserTab(WindowState& state)
{
    state.browserShown = true;
    state.foldersShown = true;
    state.textureListShown = false;
    state.soundListShown = false;
    state.soundCountShown = false;
    state.soundHeadingShown = false;
    state.textureCountShown = true;
    state.textureHeadingShown = true;
    state.fileSizeSumShown = true;
}

void ShowCompareTab(WindowState& state)
{
    state.browserShown = false;
    state.foldersShown = true;
    state.fileSizeSumShown = false;
    if (state.compareTextures) {
        state.textureListShown = true;
        state.soundListShown = false;
        state.soundCountShown = false;
        state.textureCountShown = true;
        state.soundHeadingShown = false;
        state.textureHeadingShown = true;
    }
    if (state.compareSounds) {
        state.textureListShown = false;
        state.soundsBesideFiles = true;
        state.soundListShown = true;
        state.soundCountShown = true;
        state.textureCountShown = false;
        state.soundHeadingShown = false;
        state.textureHeadingShown = true;
    }
}

void ShowLevelListsTab(WindowState& state)
{
    state.browserShown = false;
    state.foldersShown = false;
    state.fileSizeSumShown = false;
    state.soundsBesideFiles = false;
    state.textureListShown = true;
    state.soundListShown = true;
    state.soundCountShown = true;
    state.textureCountShown = true;
    state.soundHeadingShown = true;
    state.textureHeadingShown = true;
}

void BeginFileNew(WindowState& state)
{
    state.textureHeadingShown = false;
    state.soundHeadingShown = false;
    state.textureListShown = false;
    state.soundListShown = false;
    state.browserShown = false;
    state.foldersShown = false;
    state.browseEnabled = true;
    LockOptions(state);
}

void EndFileNew(WindowState& state)
{
    state.browserShown = true;
    state.foldersShown = true;
    state.useThisEnabled = false;
    state.tabsEnabled = false;
    state.compareOffered = false;
    state.textureCountShown = false;
    state.soundCountShown = false;
    state.pooled = false;
    state.openEnabled = true;
    state.toolsShown = false;
    state.fileSizeSumShown = true;
    state.mode = WindowMode::Idle;
    state.targetEditable = true;
}

void UseTarget(WindowState& state)
{
    state.browseEnabled = false;
    state.useThisEnabled = false;
    state.transferEnabled = true;
    state.optionsEnabled = true;
}

void LockAfterTransfer(WindowState& state)
{
    state.openEnabled = false;
    state.transferEnabled = false;
    state.browseEnabled = false;
    state.targetEditable = false;
    state.optionsEnabled = false;
    state.previewEnabled = false;
}

bool ArchiveOffered(const WindowState& state)
{
    return state.mode == WindowMode::Transferred || state.mode == WindowMode::Preview;
}

}  // namespace corvane::ui
