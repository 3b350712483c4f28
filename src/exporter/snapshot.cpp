// plotnik-snapshot: writes the frame a menu answer draws, at a chosen clock and mouse position,
// to a PNG, without a display. With --frames it writes a numbered series for slides, or one
// animated GIF when the file name ends in .gif.
#include "common/window.h"
#include "exporter/export.h"
#include "exporter/exporter_platform.h"

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    Options options;
    std::string why;
    if (!parseOptions(argumentsInUtf8(argc, argv), options, why)) {
        std::fprintf(stderr, "plotnik-snapshot: %s\n%s\n", why.c_str(), kUsage);
        return 2;
    }
    if (options.request == kShowHelp) {
        std::printf("%s\n%s\n", kUsage, kHelp);
        return 0;
    }
    if (options.request == kShowVersion) {
        std::printf("plotnik %s\n", PLOTNIK_VERSION);
        return 0;
    }

    // Ctrl-C and SIGTERM stop a long series cleanly; SDL would turn them into events nobody reads.
    catchStopSignals(onStopSignal);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");

    // Always headless, whatever display there is.
    bool exported = false;
    if (!openWindow(kHeadless, why)) {
        why = "no window to draw in: " + why;
    } else {
        exported = exportFrames(options, why);
        closeWindow();
    }
    if (!exported && !why.empty()) {
        std::fprintf(stderr, "plotnik-snapshot: %s\n", why.c_str());
    }
    if (stopSignal != 0) {
        // Ended by the signal, as the shell expects.
        std::signal(stopSignal, SIG_DFL);
        std::raise(stopSignal);
    }
    return exported ? 0 : 1;
}
