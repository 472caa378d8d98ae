#include "transfer/overwrite.h"

#include "platform/file_ops.h"

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
    std::string targetLine = target + '\t' + FileDateText(target);
    std::string sourceLine = source + '\t' + FileDateText(source);
    return {"Overwrite?", "  ", std::move(targetLine), "  ", "   with", "  ", std::move(sourceLine)};
}

OverwriteAnswer OverwritePrompt(Host& host, const std::string& target, const std::string& source,
                                const std::string& caption, PromptButtons buttons)
{
    PromptRequest request;
    request.kind = PromptKind::Overwrite;
    request.caption = caption;
    request.lines = OverwritePromptLines(target, source);
    request.showYes = true;
    request.showNo = true;
    request.showYesToAll = buttons == PromptButtons::All;
    request.showNoToAll = buttons == PromptButtons::All;
    return host.showPrompt(request);
}

}  // namespace corvane
