// x_window.cpp -- what the tests need to know about X windows beyond what xdotool tells them
//
// Kept apart from the tests themselves: Xlib's macros (None, Status, ...) clash with GoogleTest's names.
#include "support/x_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

int ignore_error(Display *, XErrorEvent *)
{
    return 0; // a window that has just gone simply has no type
}

} // namespace

bool press_window_close_button(unsigned long window)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display); // flushes the request
    return sent != 0;
}

bool window_has_type(unsigned long window, const char *type)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XErrorHandler previous = XSetErrorHandler(ignore_error);
    Atom type_property = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    Atom wanted = XInternAtom(display, type, False);
    Atom actual_type = 0;
    int actual_format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char *data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, window, type_property, 0, 16, False, XA_ATOM, &actual_type,
                           &actual_format, &count, &remaining, &data) == Success &&
        data && actual_format == 32) {
        const Atom *types = reinterpret_cast<const Atom *>(data);
        for (unsigned long i = 0; i < count; i++)
            found = found || types[i] == wanted;
    }
    if (data)
        XFree(data);
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return found;
}
