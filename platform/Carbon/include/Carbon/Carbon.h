/* Carbon.h: everything a Carbon program uses, the user-interface toolbox and help included. */
#ifndef CARBON_CARBON_H
#define CARBON_CARBON_H

#include <ApplicationServices/ApplicationServices.h>
#include <HIToolbox/HIToolbox.h>
#include <Print/Print.h>
#include <Help/Help.h>

#endif /* CARBON_CARBON_H */
