/* QuickTime.h: the whole framework. */
#ifndef QUICKTIME_QUICKTIME_H
#define QUICKTIME_QUICKTIME_H

#include <QuickTime/Components.h>
#include <QuickTime/ImageCompression.h>

#endif /* QUICKTIME_QUICKTIME_H */
