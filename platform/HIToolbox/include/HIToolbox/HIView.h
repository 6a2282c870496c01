/* HIView.h: the view names of controls. A view is a control. */
#ifndef HITOOLBOX_HIVIEW_H
#define HITOOLBOX_HIVIEW_H

#include <HIToolbox/Controls.h>

CF_EXTERN_C_BEGIN

typedef ControlID HIViewID;
typedef ControlKind HIViewKind;

/* The window's root view (created if the window has none yet); NULL for an
   invalid window. The window owns it. */
CF_EXPORT HIViewRef HIViewGetRoot(WindowRef inWindow);

CF_EXTERN_C_END

#endif /* HITOOLBOX_HIVIEW_H */
