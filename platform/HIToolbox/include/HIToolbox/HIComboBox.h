/*
 * HIComboBox.h: the combo box, an editable text field with a list of
 * entries the user can open and pick from.
 */
#ifndef HITOOLBOX_HICOMBOBOX_H
#define HITOOLBOX_HICOMBOBOX_H

#include <HIToolbox/HIView.h>

CF_EXTERN_C_BEGIN

/* Sent to the combo box when the user picks an entry of its list; the
   entry's index (from 0) is in kEventParamComboBoxListSelectedItemIndex. */
enum { kEventClassHIComboBox = 0x68696362 /* 'hicb' */ };
enum { kEventComboBoxListItemSelected = 1 };
enum { kEventParamComboBoxListSelectedItemIndex = 0x63626C69 /* 'cbli' */ }; /* typeCFIndex */

CF_EXTERN_C_END

#endif /* HITOOLBOX_HICOMBOBOX_H */
