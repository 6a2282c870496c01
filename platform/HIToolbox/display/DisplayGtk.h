// The display backend: each visible Carbon window shown in a GTK window, and the person's input
// queued as actions that the toolbox carries out when a loop asks for the next one.
#ifndef HITOOLBOX_DISPLAY_DISPLAYGTK_H
#define HITOOLBOX_DISPLAY_DISPLAYGTK_H

#include <Carbon/Carbon.h>
#include <HIToolbox/PlatformHost.h>

#include <gtk/gtk.h>

#include <deque>
#include <string>
#include <vector>

namespace display {

// One thing the person did, kept until the toolbox asks for it.
struct Action {
    enum Kind {
        click,
        choose,
        key,
        typing,
        pasting,
        composing,
        close,
        copy,
        cut,
        paste,
        selectAll
    };
    Kind kind = click;
    WindowRef window = nullptr; // retained while queued
    Point where{};              // click, choose: window-local points
    MenuItemIndex item = 0;     // choose
    UniChar charCode = 0;       // key
    UInt32 modifiers = 0;       // key
    std::string text;           // typing, pasting, composing: UTF-8
    CFIndex caret = -1;         // composing: the caret, in UTF-16 units into the text
};

struct Shown {
    WindowRef window = nullptr; // retained while shown
    GtkWidget* gtkWindow = nullptr;
    GtkWidget* area = nullptr;
    GtkIMContext* im = nullptr;
    Rect bounds{};
};

struct Display {
    std::vector<Shown> shown;
    std::deque<Action> queue;
    bool reportFirstFrame = false;
    bool firstFrameDrawn = false;
};

// Windows (DisplayGtk_Windows.cpp): shows the visible Carbon windows, hides those gone, and
// redraws every shown one.
void sync_windows(Display& display);
void hide_all(Display& display);
Shown* shown_for(Display& display, WindowRef window);

// Input (DisplayGtk_Input.cpp): the controllers that queue the person's actions.
void attach_input(Display& display, Shown& shown);
void queue_action(Display& display, Action action);

// Carrying out one action (DisplayGtk_Actions.cpp).
void perform(Display& display, const Action& action);

} // namespace display

#endif
