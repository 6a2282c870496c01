// The window list, front to back, and the calls that walk and reorder it.
#include "WindowInternal.h"

#include <HIToolbox/PlatformHost.h>

#include <algorithm>
#include <vector>

namespace {

// Plain references: a window is in the list from its creation to its disposal.
std::vector<WindowRef>& windows() {
    static auto* list = new std::vector<WindowRef>;
    return *list;
}

bool matches(WindowRef window, WindowClass window_class, bool must_be_visible) {
    return (window_class == kAllWindowClasses || window->window_class == window_class) &&
           (!must_be_visible || window->visible);
}

// The first window at or after position `from` that matches, or nullptr.
WindowRef find_from(size_t from, WindowClass window_class, bool must_be_visible) {
    auto& list = windows();
    for (size_t i = from; i < list.size(); ++i)
        if (matches(list[i], window_class, must_be_visible))
            return list[i];
    return nullptr;
}

size_t position_of(WindowRef window) {
    auto& list = windows();
    return static_cast<size_t>(std::find(list.begin(), list.end(), window) - list.begin());
}

} // namespace

namespace hit {

void window_list_add(WindowRef window) {
    windows().insert(windows().begin(), window);
}

void window_list_remove(WindowRef window) {
    auto& list = windows();
    list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

} // namespace hit

WindowRef GetWindowList(void) {
    return find_from(0, kAllWindowClasses, false);
}

WindowRef GetNextWindow(WindowRef window) {
    if (hit::live_window(window, __func__) == nullptr)
        return nullptr;
    return find_from(position_of(window) + 1, kAllWindowClasses, false);
}

WindowRef FrontWindow(void) {
    return find_from(0, kAllWindowClasses, true);
}

WindowRef GetFrontWindowOfClass(WindowClass inWindowClass, Boolean mustBeVisible) {
    return find_from(0, inWindowClass, mustBeVisible);
}

WindowRef GetNextWindowOfClass(WindowRef inWindow, WindowClass inWindowClass,
                               Boolean mustBeVisible) {
    if (hit::live_window(inWindow, __func__) == nullptr)
        return nullptr;
    return find_from(position_of(inWindow) + 1, inWindowClass, mustBeVisible);
}

void BringToFront(WindowRef window) {
    if (hit::live_window(window, __func__) == nullptr)
        return;
    hit::window_list_remove(window);
    hit::window_list_add(window);
}

void SelectWindow(WindowRef window) {
    if (hit::live_window(window, __func__) == nullptr)
        return;
    BringToFront(window);
    // Copy: activation handlers may create or dispose of windows.
    std::vector<WindowRef> others = windows();
    for (WindowRef other : others)
        if (other != window && cf::is_object(other) && !other->disposed)
            ActivateWindow(other, false);
    ActivateWindow(window, true);
}

ItemCount PlatformCopyWindowList(WindowRef* outWindows, ItemCount capacity) {
    auto& list = windows();
    for (ItemCount i = 0; i < capacity && i < list.size() && outWindows != nullptr; ++i)
        outWindows[i] = list[i];
    return static_cast<ItemCount>(list.size());
}
