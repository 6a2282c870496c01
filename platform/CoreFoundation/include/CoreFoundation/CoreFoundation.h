/* CoreFoundation.h: the whole framework. */
#ifndef COREFOUNDATION_COREFOUNDATION_H
#define COREFOUNDATION_COREFOUNDATION_H

#include <CoreFoundation/CFBase.h>

#endif /* COREFOUNDATION_COREFOUNDATION_H */
