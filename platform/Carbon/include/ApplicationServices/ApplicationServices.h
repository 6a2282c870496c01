/* ApplicationServices.h: Core Foundation, Core Services, Image I/O and the printing manager. */
#ifndef APPLICATIONSERVICES_APPLICATIONSERVICES_H
#define APPLICATIONSERVICES_APPLICATIONSERVICES_H

#include <CoreFoundation/CoreFoundation.h>
#include <CoreServices/CoreServices.h>
#include <ImageIO/ImageIO.h>
#include <PrintCore/PrintCore.h>

#endif /* APPLICATIONSERVICES_APPLICATIONSERVICES_H */
