#pragma once
// A working tree, a Pellark tree, a target that holds older copies of some of
// the files, and a bystander folder, all in one sandbox; a person who agrees
// to everything; and the checks every failing run must pass.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "map/resource_list.h"
#include "transfer/host.h"
#include "support/temp_tree.h"
#include "surroundings.h"
#include "transfer/command.h"

namespace corvane::test {

// One face of a brush in a level, drawn with `texture`.
inline std::string Face(const std::string& texture)
{
    return "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) " + texture + " 0 0 0 1 1\n";
}

// Answers every question the way that transfers the most: Ok to go on into an
// existing target, Yes to All (or Yes) to every overwrite, the first button of
// every box. Records what a person would have seen.
class AgreeingHost : public Host {
public:
    OverwriteAnswer showPrompt(const PromptRequest& request) override;
    MessageResult messageBox(const MessageRequest& request) override;
    void alert(AlertSound sound) override { alerts.push_back(sound); }
    void setStatus(StatusLine line, std::string_view text) override;
    void setCaption(std::string_view) override {}

    // Every text shown, prompts' lines and boxes' texts, one string each.
    std::vector<std::string> shown;
    std::vector<MessageRequest> boxes;
    std::vector<AlertSound> alerts;
    std::string lastTotal;  // the last text of status panel 1
};

class HardeningFixture : public ::testing::Test {
protected:
    HardeningFixture();

    TempTree tree;
    AgreeingHost host;
    TransferLog log;
    TransferSession session;
    TransferJob job;
    ResourceList textures;
    ResourceList sounds;

    // Source file (below the sandbox) -> where a transfer puts it.
    std::map<std::string, std::string> destinations;
    // Target files that held an older version before the run -> that content.
    std::map<std::string, std::string> older;
    // The content of every file of the working and Pellark trees before the run.
    std::map<std::string, std::string> originals;

    TransferOutcome run(TransferMode mode);
    std::string path(const std::string& relative) const { return tree.path(relative); }
    bool exists(const std::string& relative) const;
    std::string read(const std::string& relative) const { return tree.read(relative); }

    // True when `text` appears in a log line or in a text shown to the person.
    bool told(const std::string& text) const;

    // The guarantees that hold whatever failed: no file of the trees was lost
    // (each source is still there or its copy arrived whole), every file in
    // the target is whole (an older version or a full copy), no temporary file
    // is left, the bystander folder is untouched and, in copy mode, so are the
    // working and Pellark trees.
    void expectNothingLostOrDamaged(TransferMode mode) const;

    // Adds a file to the working tree with where a transfer puts it.
    void source(const std::string& relative, const std::string& content, const std::string& destination);
    // Takes the picture of the sandbox that the checks compare with again.
    void rebaseline() { before_ = Snapshot(tree.root()); }

private:
    Snapshot before_;
};

}  // namespace corvane::test
