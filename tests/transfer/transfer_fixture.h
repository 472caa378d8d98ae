#pragma once
// A working tree and a target in one sandbox, with a scripted person and a
// log, for the transfer steps.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "map/resource_list.h"
#include "support/scripted_host.h"
#include "support/temp_tree.h"
#include "transfer/transfer_file.h"

namespace corvane::test {

using Lines = std::vector<std::string>;

class TransferFixture : public ::testing::Test {
protected:
    TempTree tree;
    ScriptedHost host;
    TransferLog log;
    TransferContext context{host, log, TransferMode::Copy};
    // The source folder of levels (SrcPath); resources lie beside it.
    std::string srcPath = tree.dir("work/maps");
    // The target directory, not yet made.
    std::string target = tree.path("game");

    std::string work(const std::string& relative) const { return tree.path("work/" + relative); }
    std::string game(const std::string& relative) const { return tree.path("game/" + relative); }

    static ResourceList List(const std::vector<std::string>& names)
    {
        ResourceList list;
        for (const std::string& name : names)
            list.add(name);
        list.sort();
        return list;
    }

    // The captions of the prompts shown so far.
    Lines promptCaptions() const
    {
        Lines captions;
        for (const PromptRequest& prompt : host.prompts)
            captions.push_back(prompt.caption);
        return captions;
    }
};

}  // namespace corvane::test
