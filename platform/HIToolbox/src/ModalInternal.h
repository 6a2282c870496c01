// Internals of the modal loops and the event source shared inside
// HIToolbox: where user actions go, and the standard alerts a script answers.
#ifndef HITOOLBOX_SRC_MODALINTERNAL_H
#define HITOOLBOX_SRC_MODALINTERNAL_H

#include <HIToolbox/MacWindows.h>

#include <string>

namespace hit {

// The window user actions go to: that of the innermost running modal loop,
// else the frontmost visible window; nullptr when there is none.
WindowRef action_window();

// The installed event source's name for messages ("" when it has none).
std::string event_source_name();

// The texts of a standard alert's window (StandardAlert.cpp); false for any
// other window.
bool alert_texts(WindowRef window, std::string& message, std::string& explanation);

} // namespace hit

#endif // HITOOLBOX_SRC_MODALINTERNAL_H
