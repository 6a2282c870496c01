// Internals of the modal loops and the event source shared inside
// HIToolbox: where user actions go, and the standard alerts a script answers.
#ifndef HITOOLBOX_SRC_MODALINTERNAL_H
#define HITOOLBOX_SRC_MODALINTERNAL_H

#include <HIToolbox/MacWindows.h>

#include <functional>
#include <string>

namespace hit {

// The window user actions go to: that of the innermost running modal loop,
// else the frontmost visible window; nullptr when there is none.
WindowRef action_window();

// The loop of RunAppModalLoopForWindow, named `waiter` in its messages.
// before_each (may be empty) runs before each action is pulled; returning
// true ends the loop as a quit would.
OSStatus run_modal_loop(WindowRef window, const std::string& waiter,
                        const std::function<bool()>& before_each);

// Standard alerts register their windows with their texts while they
// exist, so that a script can find and answer them.
void register_alert(WindowRef window, const std::string& message, const std::string& explanation);
void unregister_alert(WindowRef window);
// The texts of an alert's window; false for any other window.
bool alert_texts(WindowRef window, std::string& message, std::string& explanation);
// The alert's message, "" for any other window.
std::string alert_message(WindowRef window);

} // namespace hit

#endif // HITOOLBOX_SRC_MODALINTERNAL_H
