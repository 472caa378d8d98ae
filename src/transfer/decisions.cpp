#include "transfer/decisions.h"

#include <utility>

namespace corvane {

bool Decidable(const PlanItem& item)
{
    return item.scope != PlanScope::None;
}

Decision DefaultDecision(const PlanItem& item)
{
    const bool newer = item.sourceModified && item.targetModified && *item.sourceModified > *item.targetModified;
    return item.status == PlanStatus::Replace && newer ? Decision::Replace : Decision::Keep;
}

Decisions DefaultDecisions(const Plan& plan)
{
    Decisions decisions;
    for (const PlanItem& item : plan.items) {
        if (Decidable(item))
            decisions.emplace(item.target, DefaultDecision(item));
    }
    return decisions;
}

DecidedHost::DecidedHost(Host& person, const Plan& plan, Decisions decisions)
    : person_(person), decisions_(std::move(decisions)), targetFound_(plan.target == PlanTarget::Exists)
{
}

DecidedHost::~DecidedHost()
{
    soundHeldAlert();
}

void DecidedHost::soundHeldAlert()
{
    if (heldAlert_)
        person_.alert(*heldAlert_);
    heldAlert_.reset();
}

OverwriteAnswer DecidedHost::showPrompt(const PromptRequest& request)
{
    switch (request.kind) {
    case PromptKind::Notice:
        heldAlert_.reset();
        return OverwriteAnswer::Yes;  // nobody uses a notice's answer
    case PromptKind::Continue:
        if (targetFound_) {
            heldAlert_.reset();
            return OverwriteAnswer::Yes;  // "Ok"
        }
        break;
    case PromptKind::Overwrite:
        if (const auto decided = decisions_.find(request.target); decided != decisions_.end())
            return decided->second == Decision::Replace ? OverwriteAnswer::Yes : OverwriteAnswer::No;
        break;
    }
    ++unforeseen_;
    soundHeldAlert();
    if (request.kind != PromptKind::Overwrite)
        return person_.showPrompt(request);
    PromptRequest alone = request;
    alone.showYesToAll = false;
    alone.showNoToAll = false;
    return person_.showPrompt(alone);
}

MessageResult DecidedHost::messageBox(const MessageRequest& request)
{
    if (request.refusal) {
        heldAlert_.reset();
        return request.buttons.empty() ? MessageButton::Ok : request.buttons.front();
    }
    soundHeldAlert();
    return person_.messageBox(request);
}

void DecidedHost::alert(AlertSound sound)
{
    soundHeldAlert();
    heldAlert_ = sound;
}

void DecidedHost::setStatus(StatusLine line, std::string_view text)
{
    soundHeldAlert();
    person_.setStatus(line, text);
}

void DecidedHost::setCaption(std::string_view text)
{
    soundHeldAlert();
    person_.setCaption(text);
}

void DecidedHost::progress(std::string_view what, std::uint64_t done, std::uint64_t total)
{
    soundHeldAlert();
    person_.progress(what, done, total);
}

}  // namespace corvane
