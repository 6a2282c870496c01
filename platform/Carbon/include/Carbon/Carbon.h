/* Carbon.h: everything a Carbon program uses, the user-interface toolbox included. */
#ifndef CARBON_CARBON_H
#define CARBON_CARBON_H

#include <ApplicationServices/ApplicationServices.h>
#include <HIToolbox/HIToolbox.h>

#endif /* CARBON_CARBON_H */
