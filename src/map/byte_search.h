#pragma once
// Searches through a level's text. They run for nearly every line of a level,
// so they are inline and look at 16 bytes at a time where the processor can;
// and a level is far bigger than the processor's caches, so a pass over all
// of it asks for the text a few pages ahead of where it looks.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvane {

// How far ahead of a pass over the text the processor is asked to fetch it:
// a page or more, so that the next page's bytes are on their way before they
// are needed (the processor's own prefetching stops at the end of a page).
inline constexpr std::size_t kFetchAhead = 8192;

inline void FetchAhead([[maybe_unused]] const char* at)
{
#if defined(__SSE2__)
    _mm_prefetch(at, _MM_HINT_T0);
#endif
}

#if defined(__SSE2__)
// One bit for each of the 16 bytes at `at` that equals `wanted`.
inline unsigned PlacesIn16(const char* at, __m128i wanted)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
}
#endif

// The first `byte` in [from, to), or `to`. Meant for short searches, within
// a line.
inline const char* FindByte(const char* from, const char* to, char byte)
{
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(byte);
    for (; to - from >= 16; from += 16) {
        if (const unsigned hits = PlacesIn16(from, wanted))
            return from + std::countr_zero(hits);
    }
#endif
    for (; from < to; ++from) {
        if (*from == byte)
            return from;
    }
    return to;
}

// The last `byte` in [from, to), or null.
inline const char* FindLastByte(const char* from, const char* to, char byte)
{
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(byte);
    for (; to - from >= 16; to -= 16) {
        if (const unsigned hits = PlacesIn16(to - 16, wanted))
            return to - 16 + (31 - std::countl_zero(hits));
    }
#endif
    while (to > from) {
        if (*--to == byte)
            return to;
    }
    return nullptr;
}

// Whether two short runs of bytes are equal, eight bytes at a time.
inline bool SameBytes(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    std::size_t at = 0;
    for (; at + 8 <= a.size(); at += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a.data() + at, 8);
        std::memcpy(&y, b.data() + at, 8);
        if (x != y)
            return false;
    }
    for (; at < a.size(); ++at) {
        if (a[at] != b[at])
            return false;
    }
    return true;
}

}  // namespace corvane
