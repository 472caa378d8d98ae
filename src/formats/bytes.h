#pragma once
// Fields of the game's binary files: little-endian integers and fixed-size
// name fields. Callers check that a field lies in the buffer before reading it.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvane::bytes {

inline std::uint32_t U32At(std::string_view data, std::size_t offset)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(data[offset + i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

inline std::int32_t I32At(std::string_view data, std::size_t offset)
{
    return static_cast<std::int32_t>(U32At(data, offset));
}

// The name held in a field of `width` bytes: up to its first NUL, or the
// whole field when it has none.
inline std::string_view NameAt(std::string_view data, std::size_t offset, std::size_t width)
{
    const std::string_view field = data.substr(offset, width);
    return field.substr(0, field.find('\0'));
}

// True when `length` bytes from `offset` lie inside a buffer of `size` bytes.
// Works for any values (no overflow), so fields of a damaged file can be
// passed as they are once they are known not to be negative.
inline bool Fits(std::uint64_t offset, std::uint64_t length, std::uint64_t size)
{
    return offset <= size && length <= size - offset;
}

}  // namespace corvane::bytes
