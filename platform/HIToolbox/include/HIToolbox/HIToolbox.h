/* HIToolbox.h: the whole framework. */
#ifndef HITOOLBOX_HITOOLBOX_H
#define HITOOLBOX_HITOOLBOX_H

#include <CoreFoundation/CoreFoundation.h>
#include <HIToolbox/HIToolboxErrors.h>
#include <HIToolbox/HIToolboxTypes.h>
#include <HIToolbox/CarbonEvents.h>
#include <HIToolbox/Events.h>
#include <HIToolbox/Quickdraw.h>
#include <HIToolbox/MacWindows.h>
#include <HIToolbox/Menus.h>
#include <HIToolbox/Controls.h>
#include <HIToolbox/ControlDefinitions.h>
#include <HIToolbox/HIView.h>
#include <HIToolbox/HIComboBox.h>
#include <HIToolbox/IBCarbonRuntime.h>
#include <HIToolbox/Dialogs.h>

#endif /* HITOOLBOX_HITOOLBOX_H */
