#pragma once
// corvane-cli pack and basegame: releases as one archive, and what a base game holds.

#include <iosfwd>
#include <string>
#include <vector>

namespace corvane::cli {

int Pack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int BaseGame(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Splits a command's arguments into operands and options. `flags` take no
// value; `valued` take the next argument or the text after "=". "--" ends
// the options, "-h" and "--help" ask for help. `problem` says what was wrong.
struct OptionArgs {
    std::vector<std::string> operands;
    std::vector<std::pair<std::string, std::string>> options;  // in order, the last one counts
    bool help = false;
    std::string problem;

    bool has(const std::string& name) const;
    const std::string* value(const std::string& name) const;
};
OptionArgs SplitOptions(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                        const std::vector<std::string>& valued);

}  // namespace corvane::cli
