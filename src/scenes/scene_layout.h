// Where the texts of a picture stand: its title in the top left corner and, for a picture that
// shows values, their readout under it.
#pragma once

constexpr int kLabelLeft = 12;   // the left column of the title and the readout
constexpr int kTitleTop = 12;    // the title, in the small font
constexpr int kReadoutTop = 28;  // the readout, in the large font, under the title
