#include "ui/window_state.h"

namespace corvane::ui {

void ShowLevelView(WindowState& state)
{
    state.browseEnabled = true;
    state.targetEditable = true;
    state.textureListShown = true;
    state.soundListShown = true;
    state.soundHeadingShown = true;
    state.textureHeadingShown = true;
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
    state.transferEnabled = false;
    state.optionsEnabled = false;
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

}  // namespace corvane::ui
