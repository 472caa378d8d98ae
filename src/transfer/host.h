#pragma once
// The Host is the conversation with a person while the core works: prompts,
// message boxes, alert sounds, what the status line and the caption say, and
// how far long work has come. The desktop program shows real dialogs,
// corvane-cli uses the terminal, the tests script it. Results are not passed
// through it: the operations return them as data.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "map/load.h"

namespace corvane {

enum class MessageIcon { None, Error, Warning, Information, Question };

enum class MessageButton { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

// The button a message box was closed with.
using MessageResult = MessageButton;

struct MessageRequest {
    std::string text;     // lines separated by "\n"
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    std::vector<MessageButton> buttons;  // in the order they are shown
    // The box refuses a name before anything is tried (a stock or unsafe
    // sky), as the plan foresees it: someone who has reviewed the plan has
    // read it there already.
    bool refusal = false;

    bool offers(MessageButton button) const;
};

enum class AlertSound { Error, Stop, Exclamation };

// What a person reads at a glance while the core works: what it is doing, and
// the running total of a byte count.
enum class StatusLine { Activity = 0, Total = 1 };

class Host;

// The answers of the four-button overwrite prompt, with the codes callers keep.
enum class OverwriteAnswer : int { Yes = 6, No = 7, YesToAll = 2, NoToAll = 5 };

inline constexpr const char* kCantOpenFile = "Can't open file!";

// The four buttons of the prompt, in their tab order on the dialog.
enum class PromptButton { Yes, No, YesToAll, NoToAll };

inline constexpr const char* kPromptYesCaption = "&Yes";
inline constexpr const char* kPromptNoAllCaption = "No to &All ";

// What a prompt is for: an overwrite question, the question whether to go on
// into an existing target, or a notice whose answer nobody uses.
enum class PromptKind { Overwrite, Continue, Notice };

// Which buttons an overwrite question offers: Yes and No, or all four.
enum class PromptButtons { YesNo, All };

// What pressing a button means, whatever its caption says: the Continue
// question's Yes and No to All read "Ok" and "Cancel".
enum class PromptMeaning { Yes, No, YesToAll, NoToAll, Ok, Cancel };

// One use of the reusable prompt dialog. It sets everything the dialog shows:
// the caption, the memo's lines, which buttons are visible and the captions of
// the two buttons that some uses relabel. The dialog gives the two relabelled
// buttons their design captions back when it closes. The named constructors
// below make each use; the fields stay open for the dialogs and their tests.
struct PromptRequest {
    PromptKind kind = PromptKind::Overwrite;
    std::string caption;
    std::vector<std::string> lines;
    bool showYes = true;
    bool showNo = true;
    bool showYesToAll = false;
    bool showNoToAll = false;
    std::string yesCaption = kPromptYesCaption;
    std::string noToAllCaption = kPromptNoAllCaption;
    // An overwrite question's file: the full path of the target it would
    // replace, as the plan's items name it ("" for other uses).
    std::string target;

    // Whether to replace a file: Yes and No, and with PromptButtons::All also
    // Yes to All and No to All.
    static PromptRequest OverwriteQuestion(std::string caption, std::vector<std::string> lines,
                                           PromptButtons buttons);
    // Whether to go on: "Ok" (Yes) and "Cancel" (No to All).
    static PromptRequest ContinueQuestion(std::string caption, std::vector<std::string> lines);
    // Something to read, closed with Yes (captioned `yesCaption`) and, where
    // `withNo`, No; nobody uses the answer.
    static PromptRequest Notice(std::string caption, std::vector<std::string> lines, bool withNo,
                                std::string yesCaption = kPromptYesCaption);

    bool shows(PromptButton button) const;
    PromptMeaning meaningOf(PromptButton button) const;
    // The answer Escape gives: the first visible cancel-style button (No, then
    // No to All); none when neither is visible.
    bool escapeAnswer(OverwriteAnswer& answer) const;
};

// The answer a button gives when pressed.
OverwriteAnswer AnswerOf(PromptButton button);

// The question a level file that cannot be read asks: the error sound, then
// "Can't open file!" (caption "Error", no icon) with Abort, Retry and Ignore.
ReadFailureHandler CantOpenFileQuestion(Host& host);

class Host {
public:
    virtual ~Host() = default;
    // Shows the prompt modally and returns the answer of the button pressed.
    virtual OverwriteAnswer showPrompt(const PromptRequest& request) = 0;
    virtual MessageResult messageBox(const MessageRequest& request) = 0;
    virtual void alert(AlertSound sound) = 0;
    virtual void setStatus(StatusLine line, std::string_view text) = 0;
    virtual void setCaption(std::string_view text) = 0;

    // Long work says how far it has come: `done` of `total` items of the step
    // named by `what` (`total` is 0 when the end is not known beforehand). It
    // is called once per item, so a front end keeps it cheap; showing it and
    // keeping a window painted meanwhile is the front end's business. By
    // default nothing is shown.
    virtual void progress(std::string_view /*what*/, std::uint64_t /*done*/, std::uint64_t /*total*/) {}

    // Another transfer into the folder `target` is running. True to wait
    // until it has ended; false to give up without starting. By default the
    // person is told with a box ("Another transfer into this folder is
    // running") and the transfer does not start.
    virtual bool waitForTarget(std::string_view target);
};

inline constexpr const char* kTargetBusy = "Another transfer into this folder is running";

}  // namespace corvane
