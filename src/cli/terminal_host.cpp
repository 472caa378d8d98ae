#include "cli/terminal_host.h"

#include <algorithm>
#include <initializer_list>
#include <istream>
#include <ostream>
#include <utility>
#include <vector>

#include "cli/common.h"
#include "platform/paths.h"
#include "platform/shown_name.h"

namespace corvane::cli {

namespace {

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The name an answer is typed as, and the words that give it.
struct Word {
    const char* shown;
    std::vector<const char*> typed;
};

Word PromptWord(PromptButton button, const PromptRequest& request)
{
    switch (request.meaningOf(button)) {
    case PromptMeaning::Yes: return {"yes", {"y", "yes"}};
    case PromptMeaning::No: return {"no", {"n", "no"}};
    case PromptMeaning::YesToAll: return {"all (Yes to All)", {"a", "all"}};
    case PromptMeaning::NoToAll: return {"none (No to All)", {"none"}};
    case PromptMeaning::Ok: return {"ok", {"ok"}};
    case PromptMeaning::Cancel: return {"cancel", {"cancel"}};
    }
    return {"", {}};
}

Word BoxWord(MessageButton button)
{
    switch (button) {
    case MessageButton::Ok: return {"ok", {"ok"}};
    case MessageButton::Cancel: return {"cancel", {"cancel"}};
    case MessageButton::Abort: return {"abort", {"abort"}};
    case MessageButton::Retry: return {"retry", {"retry"}};
    case MessageButton::Ignore: return {"ignore", {"ignore"}};
    case MessageButton::Yes: return {"yes", {"y", "yes"}};
    case MessageButton::No: return {"no", {"n", "no"}};
    }
    return {"", {}};
}

void WriteLines(std::ostream& err, const std::string& text)
{
    err << text;
    if (text.empty() || text.back() != '\n')
        err << '\n';
}

}  // namespace

template <typename Choice>
Choice TerminalHost::Ask(const std::vector<std::pair<std::string, Choice>>& choices,
                         const std::string& shown, Choice fallback, const std::string& fallbackName)
{
    for (;;) {
        if (!inputEnded_) {
            err_ << "Answer: " << shown << '\n' << std::flush;
            std::string line;
            if (std::getline(in_, line)) {
                const std::string typed = AsciiLower(Trimmed(line));
                for (const auto& [word, choice] : choices) {
                    if (typed == word)
                        return choice;
                }
                err_ << "corvane-cli: '" << ShownName(Trimmed(line)) << "' is not one of the answers\n";
                continue;
            }
            inputEnded_ = true;
        }
        err_ << "corvane-cli: warning: no more answers on standard input; answering " << fallbackName
             << '\n';
        return fallback;
    }
}

OverwriteAnswer TerminalHost::showPrompt(const PromptRequest& request)
{
    err_ << '[' << request.caption << "]\n";
    for (const std::string& line : request.lines)
        err_ << line << '\n';

    if (request.kind == PromptKind::Notice)
        return request.showYes ? OverwriteAnswer::Yes : OverwriteAnswer::No;

    std::vector<std::pair<std::string, OverwriteAnswer>> choices;
    std::string shown;
    for (PromptButton button :
         {PromptButton::Yes, PromptButton::No, PromptButton::YesToAll, PromptButton::NoToAll}) {
        if (!request.shows(button))
            continue;
        const Word word = PromptWord(button, request);
        shown += (shown.empty() ? "" : ", ") + std::string(word.shown);
        for (const char* typed : word.typed)
            choices.emplace_back(typed, AnswerOf(button));
    }
    auto nameOf = [&](OverwriteAnswer answer) {
        for (PromptButton button :
             {PromptButton::Yes, PromptButton::No, PromptButton::YesToAll, PromptButton::NoToAll}) {
            if (AnswerOf(button) == answer)
                return std::string(PromptWord(button, request).shown);
        }
        return std::string();
    };

    // The safest visible answer, for when nobody is there to answer.
    const OverwriteAnswer safest = request.showNoToAll ? OverwriteAnswer::NoToAll : OverwriteAnswer::No;
    if (policy_ == AnswerPolicy::Batch)
        return safest;
    if (policy_ == AnswerPolicy::Ask)
        return Ask(choices, shown, safest, nameOf(safest));

    // Answered by the --overwrite policy; going on into an existing target is
    // part of both policies.
    const bool yes = policy_ == AnswerPolicy::All || request.kind == PromptKind::Continue;
    OverwriteAnswer answer = yes ? OverwriteAnswer::Yes : OverwriteAnswer::No;
    if (yes && request.showYesToAll)
        answer = OverwriteAnswer::YesToAll;
    if (!yes && request.showNoToAll)
        answer = OverwriteAnswer::NoToAll;
    err_ << "Answer: " << shown << '\n' << "Answered: " << nameOf(answer) << '\n';
    return answer;
}

MessageResult TerminalHost::messageBox(const MessageRequest& request)
{
    err_ << '[' << request.caption << "]\n";
    WriteLines(err_, request.text);
    if (request.buttons.empty())
        return MessageButton::Ok;
    if (request.buttons.size() == 1)
        return request.buttons.front();

    auto offered = [&](MessageButton button) { return request.offers(button); };
    auto firstOffered = [&](std::initializer_list<MessageButton> order) {
        for (MessageButton button : order) {
            if (offered(button))
                return button;
        }
        return request.buttons.front();
    };
    const MessageButton safest =
        firstOffered({MessageButton::Cancel, MessageButton::No, MessageButton::Abort});
    switch (policy_) {
    case AnswerPolicy::All: return firstOffered({MessageButton::Yes, MessageButton::Ok});
    case AnswerPolicy::None: return firstOffered({MessageButton::No, MessageButton::Cancel});
    case AnswerPolicy::Batch: return firstOffered({MessageButton::Abort});
    case AnswerPolicy::Ask: break;
    }
    std::vector<std::pair<std::string, MessageButton>> choices;
    std::string shown;
    for (MessageButton button : request.buttons) {
        const Word word = BoxWord(button);
        shown += (shown.empty() ? "" : ", ") + std::string(word.shown);
        for (const char* typed : word.typed)
            choices.emplace_back(typed, button);
    }
    return Ask(choices, shown, safest, std::string(BoxWord(safest).shown));
}

bool TerminalHost::waitForTarget(std::string_view target)
{
    err_ << kProgram << ": another transfer into " << target << " is running; waiting\n" << std::flush;
    return true;
}

}  // namespace corvane::cli
