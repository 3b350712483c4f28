// The two fonts every label is drawn with, opened once per window.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Where the font is looked for, first to last: Assets/Calibri.ttf in the working directory,
// Assets/Calibri.ttf beside the executable, and the installed Carlito (Debian's
// fonts-crosextra-carlito), which has Calibri's metrics.
std::vector<std::string> fontCandidates();

// Opens app.largeFont (24 pt) and app.smallFont (16 pt) from the first candidate that exists at
// all. One that exists but cannot be read (empty, damaged, a directory) is reported and no later
// one is tried: the user put it there. When none exists, the first is named in the report. The
// report is the line "TTF_OpenFont: <error>", printed when the large font cannot be opened.
// closeFonts releases whatever was opened.
void openFonts(const std::vector<std::string>& candidates = fontCandidates());
void closeFonts();

// A font the program carries in its own memory, opened by openFonts instead of any file while it
// is set (the web page's, which has no files); null to look for files again. The bytes stay the
// caller's and must outlive the fonts.
void useFontInMemory(const unsigned char* bytes, std::size_t size);
