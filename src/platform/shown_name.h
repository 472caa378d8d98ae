#pragma once
// How a name is shown to a person. A byte below 0x20 or 0x7F in a name would
// be acted on by a terminal or a log (an escape sequence that erases a line, a
// tab that forges the "\tOverwritten" marker) instead of being shown, so every
// place that shows a name writes such bytes as \xNN.

#include <string>
#include <string_view>

namespace corvane {

// True for a byte below 0x20 or 0x7F.
bool IsControlByte(char c);

// True when the text holds a control byte.
bool HasControlByte(std::string_view text);

// The text with each control byte written as "\x" and two upper-case hex
// digits ("\x1B"); every other byte as it is.
std::string ShownName(std::string_view text);

}  // namespace corvane
