/* PMPrintingDialogExtensions.h (Print): where Carbon code includes the dialog extension
   interface from. It is the printing manager's own, with the toolbox it embeds panels in. */
#ifndef PRINT_PMPRINTINGDIALOGEXTENSIONS_H
#define PRINT_PMPRINTINGDIALOGEXTENSIONS_H

#include <CoreFoundation/CoreFoundation.h>
#include <HIToolbox/HIToolbox.h>
#include <PrintCore/PMTicket.h>
#include <PrintCore/PMPrintingDialogExtensions.h>

#endif /* PRINT_PMPRINTINGDIALOGEXTENSIONS_H */
