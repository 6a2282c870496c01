// The system version test behind RunningOn104OrLater and RunningOn105OrLater, with Gestalt
// passed in so that any answer can be tried.
#ifndef TOOLKIT_ENVIRONMENTHELPERSINTERNAL_H
#define TOOLKIT_ENVIRONMENTHELPERSINTERNAL_H

#include <CoreServices/CoreServices.h>

namespace toolkit {

using GestaltFunction = OSErr (*)(OSType selector, SInt32* response);

// Whether the system is newer than 10.<minor>: the version starts as 10.<minor>.0 and each
// version selector that `gestalt` answers replaces its number.
bool system_newer_than(GestaltFunction gestalt, SInt32 minor);

} // namespace toolkit

#endif
