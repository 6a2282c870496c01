/*
 * TabPanes.h: showing the pane of a tab control's selected tab and hiding the others.
 */
#ifndef TOOLKIT_TABPANES_H
#define TOOLKIT_TABPANES_H

#include <Carbon/Carbon.h>

CF_EXTERN_C_BEGIN

/* Shows, enables and activates panes[value - 1] of the `numPanes` panes (value: the tab
   control's), hides, disables and deactivates every other one, then redraws the tab control.
   Nothing happens for a NULL tab control or pane array; NULL panes are skipped. */
CF_EXPORT void UpdateTabControl(ControlRef tabControl, SInt32 numPanes, ControlRef* panes);

/* Shows and enables the pane of tab `tabIndex` (from 1) and hides and disables the others.
   paneIDs[0] is the number of IDs that follow; the pane of tab i is the control of the tab
   control's window with the tab control's own ID signature and ID paneIDs[i]. Panes that
   cannot be found are skipped. */
CF_EXPORT void selectItemOfTabControl(ControlRef tabControl, SInt16 tabIndex,
                                      const SInt16* paneIDs);

CF_EXTERN_C_END

#endif /* TOOLKIT_TABPANES_H */
