#include "transfer/overwrite.h"

#include "platform/file_ops.h"
#include "platform/shown_name.h"

namespace corvane {

bool OverwritePolicy::allowsOverwrite(const std::function<OverwriteAnswer()>& ask)
{
    if (value == OverwriteAnswer::Yes || value == OverwriteAnswer::No)
        value = ask();
    return value == OverwriteAnswer::Yes || value == OverwriteAnswer::YesToAll;
}

std::vector<std::string> OverwritePromptLines(const std::string& target, const std::string& source)
{
    // Target first, then source, as the question reads.
    std::string targetLine = ShownName(target) + '\t' + FileDateText(target);
    std::string sourceLine = ShownName(source) + '\t' + FileDateText(source);
    return {"Overwrite?", "  ", std::move(targetLine), "  ", "   with", "  ", std::move(sourceLine)};
}

OverwriteAnswer OverwritePrompt(Host& host, const std::string& target, const std::string& source,
                                const std::string& caption, PromptButtons buttons)
{
    PromptRequest request =
        PromptRequest::OverwriteQuestion(caption, OverwritePromptLines(target, source), buttons);
    request.target = target;
    return host.showPrompt(request);
}

}  // namespace corvane
