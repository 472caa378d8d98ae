#pragma once

#include <string>

#include "platform/error.h"

namespace corvane::test {

// The message of the Error an operation throws, or "no error".
template <typename Operation>
std::string ErrorOf(Operation operation)
{
    try {
        operation();
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

}  // namespace corvane::test
