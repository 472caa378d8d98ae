#pragma once
// Finding a level's sky: the value of its "sky" key.

#include <string>

#include "map/level_lines.h"

namespace corvane {

inline constexpr const char* kSkyNotFound = "not found";

// The sky caption of a level: the value of the first line whose first quoted
// text is exactly "sky" and which holds at least four double quotes (the
// text between its third and fourth), or "not found" when no line qualifies or
// that value is empty. Keys that merely contain "sky" (skyaxis, skyrotate,
// _tb_name) and values that mention a sky do not count.
std::string FindSkyCaption(const LevelLines& lines);

}  // namespace corvane
