/*
 * ControlLayout.h: sizing controls to their content, embedding and moving views.
 */
#ifndef TOOLKIT_CONTROLLAYOUT_H
#define TOOLKIT_CONTROLLAYOUT_H

#include <Carbon/Carbon.h>

CF_EXTERN_C_BEGIN

/* Embeds control in container and, when that worked, makes it visible without drawing it.
   Returns the first failing status, else 0. */
CF_EXPORT OSStatus EmbedAndShowControl(ControlRef control, ControlRef container);

CF_EXTERN_C_END

#endif /* TOOLKIT_CONTROLLAYOUT_H */
