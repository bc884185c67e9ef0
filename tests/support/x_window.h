// x_window.h -- what the tests need to know about X windows beyond what xdotool tells them
#ifndef PATCHER_TESTS_X_WINDOW_H
#define PATCHER_TESTS_X_WINDOW_H

// Asks the X window to close (WM_DELETE_WINDOW), as the close button in its title bar would.
// Returns false when the display cannot be opened or the request cannot be sent.
bool press_window_close_button(unsigned long window);

// True when the window says it is of the given type, such as "_NET_WM_WINDOW_TYPE_DIALOG" (a box, a
// chooser, a question) or "_NET_WM_WINDOW_TYPE_COMBO" (a completion list). The toolkit's invisible
// helper windows have no type.
bool window_has_type(unsigned long window, const char *type);

#endif
