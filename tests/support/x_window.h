// x_window.h -- what the tests need to know about X windows beyond what xdotool tells them
#ifndef PATCHER_TESTS_X_WINDOW_H
#define PATCHER_TESTS_X_WINDOW_H

// Asks the X window to close (WM_DELETE_WINDOW), as the close button in its title bar would.
// Returns false when the display cannot be opened or the request cannot be sent.
bool press_window_close_button(unsigned long window);

// True when the window is a dialog (_NET_WM_WINDOW_TYPE_DIALOG): a box, a chooser or a question,
// as opposed to a completion list or one of the toolkit's invisible helper windows.
bool is_dialog_window(unsigned long window);

#endif
