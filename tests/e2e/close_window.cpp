// plotnik-close-window WID: asks an X window to close, as a window manager's close button does,
// with a WM_PROTOCOLS client message carrying WM_DELETE_WINDOW.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool failed = false;

int reportError(Display* display, XErrorEvent* error)
{
    char text[128];
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "plotnik-close-window: %s\n", text);
    failed = true;
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    char* end = nullptr;
    const unsigned long id = argc == 2 ? std::strtoul(argv[1], &end, 0) : 0;
    if (argc != 2 || end == argv[1] || *end != '\0' || id == 0) {
        std::fprintf(stderr, "usage: plotnik-close-window WINDOW-ID\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "plotnik-close-window: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(reportError);

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = id;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, id, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent != 0 && !failed ? 0 : 1;
}
