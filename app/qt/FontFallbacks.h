#pragma once

namespace q7n::qt {

// Maps the Windows faces the windows ask for to faces a Linux machine has: Caladea (metric-
// compatible with Cambria), Inconsolata for Consolas, and a plain sans for MS Sans Serif.
// Where the asked face is installed, it is used as it is.
void InstallFontFallbacks();

} // namespace q7n::qt
