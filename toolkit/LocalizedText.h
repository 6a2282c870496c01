/*
 * LocalizedText.h: setting the texts of controls, windows and menu items from the bundle's
 * localised strings. Each looks key up in the bundle's default strings table, uses the text as
 * a format for the arguments after the fixed ones, and applies the result. A key the strings
 * lack shows as "STRING NOT FOUND"; NULL arguments leave the target as it was. A text that
 * reads arguments its key does not read (a translator's "%s") is shown as written, with a line
 * on standard error naming the strings file and the key.
 */
#ifndef TOOLKIT_LOCALIZEDTEXT_H
#define TOOLKIT_LOCALIZEDTEXT_H

#include <Carbon/Carbon.h>

CF_EXTERN_C_BEGIN

/* Sets a static text control's text and redraws the control at once. */
CF_EXPORT void SetLocalizedStaticText(CFBundleRef bundle, CFStringRef key, ControlRef control, ...);
/* Sets any control's title. */
CF_EXPORT void SetLocalizedControlTitle(CFBundleRef bundle, CFStringRef key, ControlRef control,
                                        ...);
/* Sets a window's title. */
CF_EXPORT void SetLocalizedWindowTitle(CFBundleRef bundle, CFStringRef key, WindowRef window, ...);
/* Sets the text of item `item` of the menu (not the menu's own title). */
CF_EXPORT void SetLocalizedMenuTitle(CFBundleRef bundle, CFStringRef key, MenuRef menu, UInt16 item,
                                     ...);

CF_EXTERN_C_END

#endif /* TOOLKIT_LOCALIZEDTEXT_H */
