#pragma once
// Errors that leave the platform layer and end a command. The front end shows
// them in its error box (see ErrorBoxText).

#include <exception>
#include <stdexcept>
#include <string>

namespace corvane {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text of the application's error box for an error that ended a command:
// the error's message with "." appended, always (also after a message that
// already ends in a period).
std::string ErrorBoxText(const std::exception& error);

}  // namespace corvane
