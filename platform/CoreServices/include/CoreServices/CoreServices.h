/* CoreServices.h: the whole framework, with Core Foundation. */
#ifndef CORESERVICES_CORESERVICES_H
#define CORESERVICES_CORESERVICES_H

#include <CoreFoundation/CoreFoundation.h>
#include <CoreServices/MacErrors.h>
#include <CoreServices/Gestalt.h>
#include <CoreServices/OSUtils.h>
#include <CoreServices/Files.h>
#include <CoreServices/Folders.h>

#endif /* CORESERVICES_CORESERVICES_H */
