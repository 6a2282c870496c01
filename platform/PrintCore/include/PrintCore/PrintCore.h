/* PrintCore.h: the printing manager. */
#ifndef PRINTCORE_PRINTCORE_H
#define PRINTCORE_PRINTCORE_H

#include <PrintCore/PMDefinitions.h>
#include <PrintCore/PMCore.h>
#include <PrintCore/PMTicket.h>
#include <PrintCore/PMPrintingDialogExtensions.h>

#endif /* PRINTCORE_PRINTCORE_H */
