/*
 * LocalizedNumbers.h: fixed-point numbers as localised text, and digit counts.
 */
#ifndef TOOLKIT_LOCALIZEDNUMBERS_H
#define TOOLKIT_LOCALIZEDNUMBERS_H

#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN

/* Renders value, a fixed-point number with decimals implied decimal places, in the user's
   locale with at least that many fraction digits. The scaling goes through single precision,
   so magnitudes past 16,777,216 lose their low digits. Returns a new string that the caller
   releases, or NULL when no locale or formatter can be had. */
CF_EXPORT CFStringRef CreateLocalizedCFStringFromNumberWithDecimals(SInt32 value, UInt32 decimals);

/* The number of decimal digits of |n|; 0 has one digit. */
CF_EXPORT SInt32 CountDigits(SInt32 n);

CF_EXTERN_C_END

#endif /* TOOLKIT_LOCALIZEDNUMBERS_H */
