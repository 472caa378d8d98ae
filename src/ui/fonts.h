#pragma once
// The font of the lists and the log, whose names and sizes stand in columns.

#include <QFont>

namespace corvane::ui {

// True when the font's glyphs all advance by one width, as columns need. This
// looks at the glyphs themselves: some monospaced fonts do not call themselves
// fixed-pitch, and a "fixed" font the system falls back to may not be.
bool HasEqualAdvances(const QFont& font);

// The system's fixed-pitch font when its glyphs really have one width;
// otherwise the first of the usual monospaced families that has, and at worst
// the system's font asking for a typewriter face. Chosen once per run.
QFont FixedPitchFont();

}  // namespace corvane::ui
