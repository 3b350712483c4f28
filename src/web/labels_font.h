// The page's font, carried inside its program, as the page has no files: the subset of the font
// the build makes for the labels (src/web/CMakeLists.txt), written into labels_font.cpp by
// embed_font.mjs.
#pragma once

#include <cstddef>

extern const unsigned char kLabelsFont[];
extern const std::size_t kLabelsFontSize;
