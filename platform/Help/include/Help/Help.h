/* Help.h: the whole framework: opening pages of help books. */
#ifndef HELP_HELP_H
#define HELP_HELP_H

#include <Help/AppleHelp.h>

#endif /* HELP_HELP_H */
