// plotnik-snapshot: writes the frame a menu answer draws, at a chosen clock and mouse position,
// to a PNG, without a display. With --frames it writes a numbered series for slides, or one
// animated GIF when the file name ends in .gif.
#include "common/window.h"
#include "exporter/export.h"
#include "exporter/exporter_platform.h"

#include <SDL.h>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    Options options;
    const int parsed = parseOptions(argumentsInUtf8(argc, argv), options);
    if (parsed >= 0) {
        return parsed;
    }

    // Ctrl-C and SIGTERM stop a long series cleanly; SDL would turn them into events nobody reads.
    catchStopSignals(onStopSignal);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");

    // Always headless, whatever display there is.
    int status = 1;
    if (!openWindow(kHeadless)) {
        std::fprintf(stderr, "plotnik-snapshot: no window to draw in: %s\n", SDL_GetError());
    } else {
        status = exportFrames(options);
        closeWindow();
    }
    if (stopSignal != 0) {
        // Ended by the signal, as the shell expects.
        std::signal(stopSignal, SIG_DFL);
        std::raise(stopSignal);
    }
    return status;
}
