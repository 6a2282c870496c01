// Inside the YAST control: its event handler (TextViews_Events.cpp), its
// data tags (TextViews_Data.cpp) and the state rules they share
// (TextViews.cpp).
#ifndef TOOLKIT_TEXTVIEWSINTERNAL_H
#define TOOLKIT_TEXTVIEWSINTERNAL_H

#include "TextViews.h"

namespace textviews {

// The one handler routine of every YAST control and its window.
EventHandlerUPP handler_upp();

// Reads the control's bounds and recomputes the four rectangles and the region.
void compute_rects(YASTControlRecord* record);
// Brings the text object's activity in line with isActive and isFocused.
void update_text_activity(YASTControlRecord* record);
// Draws or erases the focus ring as drawFocusRing, isActive and isFocused say.
void update_focus_ring(YASTControlRecord* record);
// The edit-text frame, in its active or inactive look.
void draw_frame(YASTControlRecord* record);
// The text shows while the control and its embedders are visible and
// "yvis" allows it.
void sync_visibility(YASTControlRecord* record);
// Frees what the record owns (handlers, text object, region) and the record.
void destroy(YASTControlRecord* record);

OSStatus set_data(YASTControlRecord* record, ResType tag, Size size, const void* data);
OSStatus get_data(YASTControlRecord* record, ResType tag, Size size, void* buffer, Size* actual);

} // namespace textviews

#endif // TOOLKIT_TEXTVIEWSINTERNAL_H
