/* Print.h: the printing manager as a Carbon program sees it: the core calls, tickets and the
   dialog extension interface. */
#ifndef PRINT_PRINT_H
#define PRINT_PRINT_H

#include <ApplicationServices/ApplicationServices.h>
#include <Print/PMPrintingDialogExtensions.h>

#endif /* PRINT_PRINT_H */
