#pragma once
// Writing byte strings as JSON text.

#include <string>
#include <string_view>
#include <vector>

namespace corvane::cli {

// A JSON string literal for a byte string: valid UTF-8 is written as it is
// (with the escapes JSON requires, and DEL as \u007f, so that no control byte
// is written raw), and every byte that is not part of a valid UTF-8 sequence
// is written as \u00XX of that byte.
std::string JsonString(std::string_view bytes);

// A JSON array of string literals, on one line.
std::string JsonStringArray(const std::vector<std::string>& items);

}  // namespace corvane::cli
