#pragma once
// Decisions taken before a transfer, and the Host that answers the transfer's
// questions from them. Someone reviews the plan of a transfer (PlanTransfer),
// decides Replace or Keep for every file the transfer would ask about, and the
// transfer then runs with a DecidedHost in front of that person's own Host:
// each overwrite question is answered Yes or No from the decision taken for
// the file it would replace, so the log is exactly the one the person would
// have got by giving those answers one question at a time.

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

#include "transfer/host.h"
#include "transfer/plan.h"

namespace corvane {

enum class Decision { Replace, Keep };

// Whether the transfer asks before it writes the item's target: a file the
// target has (the level's own .map only when it holds other bytes).
bool Decidable(const PlanItem& item);

// What a review starts with for a decidable item: Replace when the target
// holds other bytes and the working tree's file was written later than the
// target's; Keep when the bytes are the same (replacing would change nothing,
// and in move mode would delete the working tree's copy), when the target's
// file is as new or newer (it may have been edited there), or when either
// time is unknown.
Decision DefaultDecision(const PlanItem& item);

// Decisions by the full path of the target they are about (PlanItem::target,
// PromptRequest::target).
using Decisions = std::unordered_map<std::string, Decision>;

// Every decidable item of the plan with its default decision.
Decisions DefaultDecisions(const Plan& plan);

// Answers a transfer's questions from decisions, in front of a person's Host:
//
// - an overwrite question about a decided file: Yes for Replace, No for Keep,
//   one file at a time (never a "to All" answer, which would also settle the
//   files after it);
// - an overwrite question about a file nobody decided (it appeared in the
//   target after the review): the person is asked, for that file alone (Yes
//   or No);
// - whether to go on into the target: Ok when the plan found it there, else
//   the person is asked;
// - notices (a file missing from the working tree, a .bsp only the target
//   has) and refusals the plan lists: nothing is shown, and the alert sound
//   that goes with them stays silent;
// - every other box (a copy that failed, the Pellark tree copied rather than
//   moved), the status line, the caption and the progress: passed on.
class DecidedHost : public Host {
public:
    DecidedHost(Host& person, const Plan& plan, Decisions decisions);
    ~DecidedHost() override;
    DecidedHost(const DecidedHost&) = delete;
    DecidedHost& operator=(const DecidedHost&) = delete;

    OverwriteAnswer showPrompt(const PromptRequest& request) override;
    MessageResult messageBox(const MessageRequest& request) override;
    void alert(AlertSound sound) override;
    void setStatus(StatusLine line, std::string_view text) override;
    void setCaption(std::string_view text) override;
    void progress(std::string_view what, std::uint64_t done, std::uint64_t total) override;

    // How many questions were passed on to the person.
    std::size_t unforeseen() const { return unforeseen_; }

private:
    // An alert is held back until it is known what it goes with: sounded
    // before anything shown, dropped with what is not shown.
    void soundHeldAlert();

    Host& person_;
    Decisions decisions_;
    bool targetFound_;
    std::optional<AlertSound> heldAlert_;
    std::size_t unforeseen_ = 0;
};

}  // namespace corvane
