/*
 * Components.h: component instances, as far as this platform has them. The
 * only components are the graphics importers of <QuickTime/ImageCompression.h>;
 * an instance is opened by the call that finds it and closed here.
 */
#ifndef QUICKTIME_COMPONENTS_H
#define QUICKTIME_COMPONENTS_H

#include <CoreServices/CoreServices.h>

CF_EXTERN_C_BEGIN

typedef struct OpaqueComponentInstance* ComponentInstance;
typedef SInt32 ComponentResult;

/*
 * CloseComponent: closes the instance and frees everything it holds; the
 * reference must not be used again. invalidComponentID for anything that is
 * not an open instance (the calls that return a ComponentResult say
 * badComponentInstance).
 */
CF_EXPORT OSErr CloseComponent(ComponentInstance aComponentInstance);

CF_EXTERN_C_END

#endif /* QUICKTIME_COMPONENTS_H */
