// Absolute time and date objects.
#include <CoreFoundation/CFDate.h>

#include "CFDateInternal.h"
#include "CFValueSupport.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/time.h>

struct OpaqueCFDate : cf::Object {
    CFAbsoluteTime time = 0;
};

const CFTimeInterval kCFAbsoluteTimeIntervalSince1970 = 978307200.0;
const CFTimeInterval kCFAbsoluteTimeIntervalSince1904 = 3061152000.0;

namespace {

bool equal_dates(CFTypeRef a, CFTypeRef b) {
    return static_cast<const OpaqueCFDate*>(a)->time == static_cast<const OpaqueCFDate*>(b)->time;
}

CFHashCode hash_date(CFTypeRef object) {
    double t = static_cast<const OpaqueCFDate*>(object)->time;
    return static_cast<CFHashCode>(static_cast<SInt64>(std::floor(t)));
}

CFStringRef describe_date(CFTypeRef object) {
    cf::UTCFields f = cf::utc_from_absolute_time(static_cast<const OpaqueCFDate*>(object)->time);
    char text[64];
    std::snprintf(text, sizeof text, "{time = %04d-%02d-%02d %02d:%02d:%02d +0000}", f.year,
                  f.month, f.day, f.hour, f.minute, f.second);
    return cf::make_cfstring(cf::object_tag(object, "CFDate") + text);
}

const cf::ClassDescriptor kDateClass = {"CFDate", cf::destroy<OpaqueCFDate>, equal_dates, hash_date,
                                        describe_date};

CFTypeID date_type_id() {
    static CFTypeID id = cf::register_class(&kDateClass);
    return id;
}

} // namespace

namespace cf {

bool absolute_time_from_utc(const UTCFields& f, CFAbsoluteTime* out) {
    std::tm tm{};
    tm.tm_year = f.year - 1900;
    tm.tm_mon = f.month - 1;
    tm.tm_mday = f.day;
    tm.tm_hour = f.hour;
    tm.tm_min = f.minute;
    tm.tm_sec = f.second;
    time_t seconds = timegm(&tm);
    // timegm normalises out-of-range fields; a change means they were out of range.
    if (tm.tm_year != f.year - 1900 || tm.tm_mon != f.month - 1 || tm.tm_mday != f.day ||
        tm.tm_hour != f.hour || tm.tm_min != f.minute || tm.tm_sec != f.second)
        return false;
    *out = static_cast<double>(seconds) - kCFAbsoluteTimeIntervalSince1970;
    return true;
}

UTCFields utc_from_absolute_time(CFAbsoluteTime at) {
    auto seconds = static_cast<time_t>(std::floor(at + kCFAbsoluteTimeIntervalSince1970));
    std::tm tm{};
    gmtime_r(&seconds, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string iso8601_from_absolute_time(CFAbsoluteTime at) {
    UTCFields f = utc_from_absolute_time(at);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", f.year, f.month, f.day,
                  f.hour, f.minute, f.second);
    return text;
}

} // namespace cf

CFAbsoluteTime CFAbsoluteTimeGetCurrent(void) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) - kCFAbsoluteTimeIntervalSince1970 +
           static_cast<double>(now.tv_nsec) * 1e-9;
}

CFTypeID CFDateGetTypeID(void) {
    return date_type_id();
}

CFDateRef CFDateCreate(CFAllocatorRef allocator, CFAbsoluteTime at) {
    auto* date = cf::create<OpaqueCFDate>(allocator, date_type_id());
    if (date != nullptr)
        date->time = at;
    return date;
}

CFAbsoluteTime CFDateGetAbsoluteTime(CFDateRef theDate) {
    return cf::check_type(theDate, date_type_id(), __func__) ? theDate->time : 0;
}

CFTimeInterval CFDateGetTimeIntervalSinceDate(CFDateRef theDate, CFDateRef otherDate) {
    if (!cf::check_type(theDate, date_type_id(), __func__) ||
        !cf::check_type(otherDate, date_type_id(), __func__))
        return 0;
    return theDate->time - otherDate->time;
}

CFComparisonResult CFDateCompare(CFDateRef theDate, CFDateRef otherDate, void*) {
    CFTimeInterval difference = CFDateGetTimeIntervalSinceDate(theDate, otherDate);
    return difference < 0   ? kCFCompareLessThan
           : difference > 0 ? kCFCompareGreaterThan
                            : kCFCompareEqualTo;
}
