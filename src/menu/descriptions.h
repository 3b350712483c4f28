// What each picture shows and what steers it, in Polish, in menu order: the text the web page
// gives the picture for those who cannot see it. The README's table of the pictures is its
// English translation.
#pragma once

#include "menu/menu.h"

extern const char* const kPictureDescriptions[kMenuItemCount];
