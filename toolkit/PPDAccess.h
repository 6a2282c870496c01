/*
 * PPDAccess.h: the current printer's PPD, opened once per process with libcups, its texts in
 * the PPD's own encoding, menus and popups of an option's choices, the chosen choices in a
 * print settings ticket, and the limits of custom paper sizes.
 */
#ifndef TOOLKIT_PPDACCESS_H
#define TOOLKIT_PPDACCESS_H

#include <Carbon/Carbon.h>
#include <cups/ppd.h>

CF_EXTERN_C_BEGIN

/* The PPD of the current print session's printer, opened on the first call and kept (borrowed
   by callers) until PPDCloseCurrent, whatever printer is current later. After each open on
   10.5 or later a loaded feature bundle may localise it (its QyxCups.plugin's
   InvokeLocalizedPPD). NULL when there is no session, printer or readable PPD. */
CF_EXPORT ppd_file_t* PPDGetCurrent(void);

/* Closes the kept PPD, so that the next PPDGetCurrent reads the current printer's. */
CF_EXPORT void PPDCloseCurrent(void);

/* The string encoding the PPD's LanguageEncoding names; Mac Roman for any other or NULL. */
CF_EXPORT CFStringEncoding PPDGetEncoding(ppd_file_t* ppd);

/* The display text of choice `choice` of option `keyword`, new; NULL when an argument is NULL
   or the option or choice is not in the PPD. */
CF_EXPORT CFStringRef PPDCopyChoiceText(ppd_file_t* ppd, CFStringRef keyword, CFStringRef choice);

/* The option's default choice keyword, new; NULL when an argument is NULL or there is no such
   option. */
CF_EXPORT CFStringRef PPDCopyDefaultChoice(ppd_file_t* ppd, CFStringRef keyword);

/* A copy of the choice the ticket's PPD dictionary holds for keyword; NULL when an argument is
   NULL, the ticket has no PPD dictionary or no choice for keyword. */
CF_EXPORT CFStringRef PPDCopyCurrentChoice(PMTicketRef ticket, CFStringRef keyword);

/* Stores choice under keyword in the ticket's PPD dictionary; nothing when an argument is NULL
   or the ticket has no PPD dictionary. */
CF_EXPORT void PPDSetCurrentChoice(PMTicketRef ticket, CFStringRef keyword, CFStringRef choice);

/* *outValue = the ticket value (PPDTicketValueForChoice, -1 for a choice the tables lack) of
   the ticket's choice for keyword, else of the PPD's default; untouched when neither exists. */
CF_EXPORT void PPDGetTicketValueForChoiceOrDefault(ppd_file_t* ppd, PMTicketRef ticket,
                                                   CFStringRef keyword, SInt32* outValue);

/* Replaces the menu's items by the option's choices that the choice tables know, in PPD order,
   each titled with its display text, with commandID and its ticket value as reference
   constant. With markDefaults the PPD's defaults are marked first and choices that conflict
   with them are left out (the marks change as a side effect). Unknown options and choices are
   reported on standard error. Returns the menu's item count; 0 for a NULL argument. */
CF_EXPORT UInt16 PPDPopulateMenuWithChoices(MenuRef menu, ppd_file_t* ppd, CFStringRef keyword,
                                            MenuCommand commandID, Boolean markDefaults);

/* The same for the popup button's menu, with command ID 0; the popup's maximum becomes the
   count. 0 when an argument is NULL or the popup has no menu. */
CF_EXPORT UInt16 PPDPopulatePopupWithChoices(ControlRef popup, ppd_file_t* ppd, CFStringRef keyword,
                                             Boolean markDefaults);

/* The current PPD's custom page size limits in points; without a PPD, 432 by 432 to 864 by
   864. */
CF_EXPORT void GetMediaLimits(float* minWidth, float* minHeight, float* maxWidth, float* maxHeight);

CF_EXTERN_C_END

#endif /* TOOLKIT_PPDACCESS_H */
