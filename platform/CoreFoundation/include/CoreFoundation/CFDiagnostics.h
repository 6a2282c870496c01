/*
 * CFDiagnostics.h: the one way the project writes a diagnostic line on standard error, for the
 * frameworks, the toolkit and the host. C++ only; not part of the umbrella header. A public header
 * of CoreFoundation, like CFHolder.h, because the bundle's toolkit and the host may use only
 * what the runtime installs.
 *
 * Every line reads "<who>: <message>", and a message about bad input names the file first:
 * "<who>: <file>:<line>: <message>". `who` is the public function whose call the message is
 * about ("CFArrayAppendValue", "CreateNibReference"), or the program or framework when no single
 * call is ("printdialog", "HIToolbox"). A line is written with one write, so that lines from
 * two writers never mix. Messages name keys, files and lines, never what a field, a ticket or a
 * preference file holds: it may be an accounting code.
 */
#ifndef COREFOUNDATION_CFDIAGNOSTICS_H
#define COREFOUNDATION_CFDIAGNOSTICS_H

#include <CoreFoundation/CFBase.h>

#ifdef __cplusplus
#include <string>

namespace cf {

/* "<who>: <message>" and a line end, the message formatted as printf does. */
void report(const char* who, const char* format, ...) __attribute__((format(printf, 2, 3)));

/* "<who>: <file>:<line>: <message>", or "<who>: <file>: <message>" when line is 0. */
void report_in_file(const char* who, const std::string& file, long line, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

} // namespace cf

#endif /* __cplusplus */

#endif /* COREFOUNDATION_CFDIAGNOSTICS_H */
