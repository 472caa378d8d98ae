#include "platform/error.h"

namespace corvane {

std::string ErrorBoxText(const std::exception& error)
{
    return std::string(error.what()) + ".";
}

}  // namespace corvane
