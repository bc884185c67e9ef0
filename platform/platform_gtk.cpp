// platform_gtk.cpp -- GTK 3 message boxes, file choosers and the clipboard for a Linux desktop
//
// Each box and chooser is a modal GTK dialog without an owner window, run to its answer with
// gtk_dialog_run and destroyed before the next one shows; only a chooser's own questions and
// refusals sit over it. Every way of leaving a dialog other than its accept button (Cancel, Escape,
// the window's close button) counts as cancel. Every box has a title that says what it is.
#include "platform/platform_gtk_module.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

const uint32_t folded_pattern_size = 64; // "*.bin" grows to "*.[bB][iI][nN]": four per letter of 13
const gint longest_label = 30; // characters of a folder name shown whole; most names are shorter
const gint screen_share = 4;   // fifths of the work area a chooser may take, room for its frame

// Lets GTK take down the windows just closed, so that each dialog stands alone on the screen.
void settle()
{
    while (gtk_events_pending())
        gtk_main_iteration();
}

// Shows a box with one OK button, no icon, and waits for it to be closed.
void run_box(GtkWindow *owner, const char *text, const char *title)
{
    GtkWidget *box = gtk_message_dialog_new(owner, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER,
                                            GTK_BUTTONS_OK, "%s", text);
    if (title)
        gtk_window_set_title(GTK_WINDOW(box), title);
    gtk_window_set_position(GTK_WINDOW(box), owner ? GTK_WIN_POS_CENTER_ON_PARENT
                                                   : GTK_WIN_POS_CENTER);
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    settle();
}

void desktop_show_message(const char *text, const char *title)
{
    run_box(nullptr, text, title);
}

// Writes pattern with every letter as a bracket of both cases, so that "*.bin" also lists GAME.BIN
// as a Windows dialog would. Returns the pattern unchanged when the folded form does not fit.
const char *fold_case(const char *pattern, char *folded)
{
    uint32_t at = 0;
    for (const char *c = pattern; *c; c++) {
        if (at + 5 > folded_pattern_size)
            return pattern;
        if (g_ascii_isalpha(*c)) {
            folded[at++] = '[';
            folded[at++] = g_ascii_tolower(*c);
            folded[at++] = g_ascii_toupper(*c);
            folded[at++] = ']';
        } else {
            folded[at++] = *c;
        }
    }
    folded[at] = '\0';
    return folded;
}

// Adds each of the patterns that pattern lists, separated by ';' as in a Windows filter, folded.
void add_patterns(GtkFileFilter *filter, const char *pattern)
{
    char one[folded_pattern_size], folded[folded_pattern_size];
    while (*pattern) {
        size_t length = std::strcspn(pattern, ";");
        if (length < sizeof one) {
            std::memcpy(one, pattern, length);
            one[length] = '\0';
            gtk_file_filter_add_pattern(filter, fold_case(one, folded));
        }
        pattern += length + (pattern[length] == ';');
    }
}

int32_t has_extension(const char *name)
{
    const char *slash = std::strrchr(name, '/');
    return std::strchr(slash ? slash + 1 : name, '.') != nullptr;
}

int32_t exists(const char *name)
{
    struct stat info;
    return lstat(name, &info) == 0; // a dangling link is a name in use too
}

int32_t is_regular_file(const char *name)
{
    struct stat info;
    return stat(name, &info) == 0 && S_ISREG(info.st_mode);
}

// GTK's own replace question, in GTK's own words, about the name that will be written: the chooser
// cannot ask it, as the extension may be added after it closed. Returns nonzero when the user chose
// to replace.
int32_t confirm_replace(GtkWindow *chooser, const char *name)
{
    gchar *file = g_filename_display_basename(name);
    gchar *folder_path = g_path_get_dirname(name);
    gchar *folder = g_filename_display_basename(folder_path);
    GtkWidget *ask = gtk_message_dialog_new(
        chooser, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
        GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE,
        g_dgettext("gtk30", "A file named “%s” already exists.  Do you want to replace it?"),
        file);
    gtk_message_dialog_format_secondary_text(
        GTK_MESSAGE_DIALOG(ask),
        g_dgettext("gtk30", "The file already exists in “%s”.  Replacing it will overwrite its "
                            "contents."),
        folder);
    gtk_dialog_add_button(GTK_DIALOG(ask), g_dgettext("gtk30", "_Cancel"), GTK_RESPONSE_CANCEL);
    gtk_dialog_add_button(GTK_DIALOG(ask), g_dgettext("gtk30", "_Replace"), GTK_RESPONSE_ACCEPT);
    gtk_dialog_set_default_response(GTK_DIALOG(ask), GTK_RESPONSE_CANCEL); // Return keeps the file
    gtk_window_set_position(GTK_WINDOW(ask), chooser ? GTK_WIN_POS_CENTER_ON_PARENT
                                                     : GTK_WIN_POS_CENTER);
    int32_t replace = gtk_dialog_run(GTK_DIALOG(ask)) == GTK_RESPONSE_ACCEPT;
    gtk_widget_destroy(ask);
    settle();
    g_free(folder);
    g_free(folder_path);
    g_free(file);
    return replace;
}

// Takes the name the chooser accepted into path. A name to read must be an existing file: GTK's
// open chooser hands back whatever was typed in its location field. A name to write that was typed
// without an extension receives the pattern's. Returns 0, leaving the chooser open, when the name
// does not fit, names no file to read, or the user declines to replace the file it names.
int32_t take_name(GtkWindow *chooser, const char *chosen, const char *pattern, char *path,
                  uint32_t capacity, int32_t save)
{
    if (!save && !is_regular_file(chosen)) {
        char text[1100];
        std::snprintf(text, sizeof text, "No such file: %s", chosen);
        run_box(chooser, text, "File not found");
        return 0;
    }
    const char *extension = std::strchr(pattern, '.');
    int32_t extend = save && extension && !has_extension(chosen);
    size_t length = std::strlen(chosen) + (extend ? std::strlen(extension) : 0);
    if (length + 1 > capacity) { // the user typed a short name, so the folder is what is too long
        char text[160];
        std::snprintf(text, sizeof text,
                      "The full path of this file is longer than %u characters.\n"
                      "Choose a file in a folder with a shorter path.",
                      static_cast<unsigned>(capacity - 1));
        run_box(chooser, text, "Path too long");
        return 0;
    }
    std::memcpy(path, chosen, std::strlen(chosen) + 1);
    if (extend)
        std::strcat(path, extension);
    if (save && exists(path) && !confirm_replace(chooser, path)) {
        path[0] = '\0';
        return 0;
    }
    return 1;
}

// Lets every long single-line label under widget lose its middle. GTK 3 shows the folder names in a
// chooser's path bar and places list whole, so a long one would widen the chooser past the screen;
// labels appear there whenever the folder changes, so this runs before each new layout.
void shorten_long_labels(GtkWidget *widget, gpointer)
{
    if (GTK_IS_CONTAINER(widget))
        gtk_container_forall(GTK_CONTAINER(widget), shorten_long_labels, nullptr);
    if (!GTK_IS_LABEL(widget))
        return;
    GtkLabel *label = GTK_LABEL(widget);
    if (gtk_label_get_line_wrap(label) || gtk_label_get_ellipsize(label) != PANGO_ELLIPSIZE_NONE ||
        g_utf8_strlen(gtk_label_get_text(label), -1) <= longest_label)
        return;
    gtk_label_set_ellipsize(label, PANGO_ELLIPSIZE_MIDDLE);
    gtk_label_set_width_chars(label, longest_label);
    gtk_label_set_max_width_chars(label, longest_label);
}

// Keeps a mapped chooser within its share of the screen's work area: GTK sizes it from the font
// alone, taller than a 1280x800 screen.
void fit_screen(GtkWidget *dialog, gpointer)
{
    GdkMonitor *monitor = gdk_display_get_monitor_at_window(gtk_widget_get_display(dialog),
                                                            gtk_widget_get_window(dialog));
    if (!monitor)
        return;
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    gint width = 0, height = 0;
    gtk_window_get_size(GTK_WINDOW(dialog), &width, &height);
    gtk_window_resize(GTK_WINDOW(dialog), std::min(width, area.width * screen_share / 5),
                      std::min(height, area.height * screen_share / 5));
}

int32_t run_chooser(const char *title, const char *pattern, char *path, uint32_t capacity,
                    int32_t save)
{
    GtkWidget *dialog = gtk_file_chooser_dialog_new(
        title, nullptr, save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN,
        g_dgettext("gtk30", "_Cancel"), GTK_RESPONSE_CANCEL,
        g_dgettext("gtk30", save ? "_Save" : "_Open"), GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser *chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_local_only(chooser, TRUE); // the name goes to fopen
    gchar *here = g_get_current_dir();
    gtk_file_chooser_set_current_folder(chooser, here);
    g_free(here);

    GtkFileFilter *filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, pattern);
    add_patterns(filter, pattern);
    gtk_file_chooser_add_filter(chooser, filter); // the chooser takes the filter over

    // No replace question of GTK's: it would ask before take_name adds the extension.
    if (save)
        gtk_file_chooser_set_current_name(chooser, ""); // the user names the output; none is offered
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    g_signal_connect(dialog, "check-resize", G_CALLBACK(shorten_long_labels), nullptr);
    g_signal_connect_after(dialog, "map", G_CALLBACK(fit_screen), nullptr);

    int32_t chosen = 0;
    while (!chosen && gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        gchar *name = gtk_file_chooser_get_filename(chooser);
        if (name)
            chosen = take_name(GTK_WINDOW(dialog), name, pattern, path, capacity, save);
        g_free(name);
    }
    gtk_widget_destroy(dialog);
    settle();
    return chosen;
}

int32_t desktop_choose_to_read(const char *title, const char *pattern, const char *, char *path,
                               uint32_t capacity)
{
    return run_chooser(title, pattern, path, capacity, 0);
}

int32_t desktop_choose_to_write(const char *title, const char *pattern, const char *, char *path,
                                uint32_t capacity)
{
    return run_chooser(title, pattern, path, capacity, 1);
}

void hand_over_text(GtkClipboard *, GtkSelectionData *data, guint, gpointer text)
{
    gtk_selection_data_set_text(data, static_cast<const gchar *>(text), -1);
}

void release_text(GtkClipboard *, gpointer text)
{
    g_free(text);
}

// Puts text on the CLIPBOARD selection as every text type, and offers it to the clipboard manager
// so that it outlives the program where one runs; without a manager it goes when the program ends.
int32_t desktop_put_clipboard_text(const char *text)
{
    GtkClipboard *clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
    if (!clipboard)
        return 0;
    GtkTargetList *list = gtk_target_list_new(nullptr, 0);
    gtk_target_list_add_text_targets(list, 0);
    gint count = 0;
    GtkTargetEntry *targets = gtk_target_table_new_from_list(list, &count);
    gchar *block = g_strdup(text); // belongs to the clipboard from here, like a Win32 clipboard block
    gboolean owned = gtk_clipboard_set_with_data(clipboard, targets, static_cast<guint>(count),
                                                 hand_over_text, release_text, block);
    gtk_target_table_free(targets, count);
    gtk_target_list_unref(list);
    if (!owned) {
        g_free(block);
        return 0;
    }
    gtk_clipboard_set_can_store(clipboard, nullptr, 0);
    gtk_clipboard_store(clipboard);
    std::fprintf(stderr, "Copied to clipboard: %s\n", text); // as the terminal says it
    std::fflush(stderr);
    return 1;
}

// The chooser's replace question, with no chooser behind it, for an output named on the command
// line.
int32_t desktop_confirm_replace(const char *name)
{
    return confirm_replace(nullptr, name);
}

const platform_ops desktop_platform = {desktop_show_message, desktop_choose_to_read,
                                       desktop_choose_to_write, desktop_put_clipboard_text,
                                       desktop_confirm_replace};

} // namespace

const platform_ops *patcher_gtk_open()
{
    g_set_prgname("patcher"); // matches the desktop file, so the menu entry owns the windows
    if (!gtk_init_check(nullptr, nullptr))
        return nullptr;
    g_set_application_name("Patcher");
    gtk_window_set_default_icon_name("patcher");
    return &desktop_platform;
}
