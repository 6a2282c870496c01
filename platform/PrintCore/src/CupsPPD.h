// libcups, with its PPD interface. libcups marks that interface deprecated in favour of asking
// IPP printers directly; PPD files are what this printing manager describes printers with, so
// the warnings are silenced for the files that include this header.
#ifndef PRINTCORE_CUPSPPD_H
#define PRINTCORE_CUPSPPD_H

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/cups.h>
#include <cups/ppd.h>

#endif
