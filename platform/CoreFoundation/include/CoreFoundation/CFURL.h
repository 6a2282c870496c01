/*
 * CFURL.h: URLs, chiefly file URLs: made from and turned back into file-system
 * paths, with path components and extensions added and removed.
 */
#ifndef COREFOUNDATION_CFURL_H
#define COREFOUNDATION_CFURL_H

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFString.h>

CF_EXTERN_C_BEGIN

typedef const struct OpaqueCFURL* CFURLRef;

typedef CFIndex CFURLPathStyle;
enum { kCFURLPOSIXPathStyle = 0, kCFURLHFSPathStyle = 1, kCFURLWindowsPathStyle = 2 };

CF_EXPORT CFTypeID CFURLGetTypeID(void);

/*
 * From the characters of a URL, relative to baseURL when not NULL. NULL when
 * the string is not a valid URL (spaces, bad percent escapes, ...).
 */
CF_EXPORT CFURLRef CFURLCreateWithString(CFAllocatorRef allocator, CFStringRef URLString,
                                         CFURLRef baseURL);
/*
 * From bytes in the given encoding. Characters not allowed in a URL are
 * percent-escaped (as UTF-8) rather than refused.
 */
CF_EXPORT CFURLRef CFURLCreateWithBytes(CFAllocatorRef allocator, const UInt8* URLBytes,
                                        CFIndex length, CFStringEncoding encoding,
                                        CFURLRef baseURL);

/*
 * A file URL for a path. Only kCFURLPOSIXPathStyle is supported (NULL for the
 * others). A relative path gives a URL relative to the current directory.
 * isDirectory adds the trailing slash.
 */
CF_EXPORT CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef filePath,
                                                 CFURLPathStyle pathStyle, Boolean isDirectory);
/* As above, from a NUL-free path in the file system's own encoding (UTF-8). */
CF_EXPORT CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef allocator,
                                                           const UInt8* buffer, CFIndex bufLen,
                                                           Boolean isDirectory);

/*
 * Writes the URL's path, unescaped and NUL-terminated, into buffer. False
 * when the URL is not a file URL or the buffer is too small.
 */
CF_EXPORT Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase,
                                                   UInt8* buffer, CFIndex maxBufLen);
/* The unescaped path without a trailing slash; NULL for non-POSIX styles. Caller releases. */
CF_EXPORT CFStringRef CFURLCopyFileSystemPath(CFURLRef anURL, CFURLPathStyle pathStyle);

/* The URL's own characters (relative to its base, if it has one). Not retained. */
CF_EXPORT CFStringRef CFURLGetString(CFURLRef anURL);
CF_EXPORT CFURLRef CFURLGetBaseURL(CFURLRef anURL);
/* The URL resolved against its base; the caller releases it. */
CF_EXPORT CFURLRef CFURLCopyAbsoluteURL(CFURLRef relativeURL);
/* The scheme ("file"), or NULL for a relative URL. Caller releases. */
CF_EXPORT CFStringRef CFURLCopyScheme(CFURLRef anURL);
/* The path as it appears in the URL, still escaped, not resolved. Caller releases. */
CF_EXPORT CFStringRef CFURLCopyPath(CFURLRef anURL);
CF_EXPORT Boolean CFURLHasDirectoryPath(CFURLRef anURL);

/*
 * Path editing works on the URL's own path and keeps its base. Deleting the
 * last component of the root leaves the root.
 */
CF_EXPORT CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef allocator, CFURLRef url,
                                                         CFStringRef pathComponent,
                                                         Boolean isDirectory);
CF_EXPORT CFURLRef CFURLCreateCopyDeletingLastPathComponent(CFAllocatorRef allocator, CFURLRef url);
CF_EXPORT CFURLRef CFURLCreateCopyAppendingPathExtension(CFAllocatorRef allocator, CFURLRef url,
                                                         CFStringRef extension);
CF_EXPORT CFURLRef CFURLCreateCopyDeletingPathExtension(CFAllocatorRef allocator, CFURLRef url);
/* Unescaped; "/" for the root. Caller releases. */
CF_EXPORT CFStringRef CFURLCopyLastPathComponent(CFURLRef url);
/* The text after the last dot of the last component, or NULL. Caller releases. */
CF_EXPORT CFStringRef CFURLCopyPathExtension(CFURLRef url);

/*
 * Replaces every percent escape by the byte it stands for and reads the
 * result as UTF-8. charactersToLeaveEscaped lists characters whose escapes
 * stay (NULL: unescape nothing). NULL for an invalid escape or bad UTF-8.
 */
CF_EXPORT CFStringRef CFURLCreateStringByReplacingPercentEscapes(
    CFAllocatorRef allocator, CFStringRef originalString, CFStringRef charactersToLeaveEscaped);

CF_EXTERN_C_END

#endif /* COREFOUNDATION_CFURL_H */
