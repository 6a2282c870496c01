// Conversions between absolute time and UTC calendar fields, for the date
// type's description and for property lists.
#ifndef COREFOUNDATION_CFDATEINTERNAL_H
#define COREFOUNDATION_CFDATEINTERNAL_H

#include <CoreFoundation/CFDate.h>

#include <string>

namespace cf {

struct UTCFields {
    int year, month, day, hour, minute, second; // month 1-12, day 1-31
};

// False when a field is out of range (February 30th, hour 24, ...).
bool absolute_time_from_utc(const UTCFields& fields, CFAbsoluteTime* out);
// Whole seconds, rounded down.
UTCFields utc_from_absolute_time(CFAbsoluteTime at);
// "2001-01-01T00:00:00Z"
std::string iso8601_from_absolute_time(CFAbsoluteTime at);

} // namespace cf

#endif // COREFOUNDATION_CFDATEINTERNAL_H
