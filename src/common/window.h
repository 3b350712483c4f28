// The window of one picture: media library, window, renderer and fonts, opened together with the
// console's status lines, and released together.
#pragma once

// Initialises every subsystem of the media library, creates the 1280 x 720 "Plotnik" window and
// its renderer, and opens the fonts, printing "Subsystems initialised!", "Window created!" and
// "Renderer created!" as each comes up. A missing window or renderer leaves its line out and the
// rest goes on. False, with "SDL_Init: <error>" printed and nothing opened, when the library
// itself does not start. Sets app.running to whether the frames may run.
bool openWindow();

// Releases what openWindow opened (fonts, renderer, window, the libraries).
void closeWindow();
