#pragma once
// Passes over a level's text. A level is far bigger than the processor's
// caches, so a pass over all of it asks for the text a few pages ahead of
// where it looks.

#include <cstddef>

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

}  // namespace corvane
