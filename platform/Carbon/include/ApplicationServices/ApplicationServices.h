/* ApplicationServices.h: Core Foundation, Core Services and the printing manager. */
#ifndef APPLICATIONSERVICES_APPLICATIONSERVICES_H
#define APPLICATIONSERVICES_APPLICATIONSERVICES_H

#include <CoreFoundation/CoreFoundation.h>
#include <CoreServices/CoreServices.h>
#include <PrintCore/PrintCore.h>

#endif /* APPLICATIONSERVICES_APPLICATIONSERVICES_H */
