/* Code written for the Mac includes only the framework headers and still finds the C library
   through them, and includes the dialog extension interface from Print/. Compiled by the kit's
   test with warnings as errors: an undeclared name fails the build. */
#include <Print/PMPrintingDialogExtensions.h>

int headers_in_reach(const char* name, ...) {
    va_list arguments;
    va_start(arguments, name);
    int first = va_arg(arguments, int);
    va_end(arguments);
    char* copy = (char*)malloc(strlen(name) + 1);
    if (copy == NULL)
        return INT_MAX;
    strcpy(copy, name);
    fprintf(stdout, "%s %d %g\n", getenv("HOME") ? copy : "", first, floor(sqrt(2.0)));
    free(copy);
    PMPDEFlags flags = 0;
    return (int)flags + (isdigit((unsigned char)name[0]) ? 1 : 0);
}
