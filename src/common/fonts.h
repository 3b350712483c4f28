// The two fonts every label is drawn with, opened once per window.
#pragma once

// Opens app.largeFont (24 pt) and app.smallFont (16 pt) from Assets/Calibri.ttf in the working
// directory; prints "TTF_OpenFont: <error>" when the large one cannot be opened. closeFonts
// releases whatever was opened.
void openFonts();
void closeFonts();
