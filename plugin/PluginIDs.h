/*
 * PluginIDs.h: the identifiers by which the print dialog finds and drives the panel.
 */
#ifndef PLUGIN_PLUGINIDS_H
#define PLUGIN_PLUGINIDS_H

/* This plug-in's own factory, registered in the bundle's Info.plist. */
#define kAccountingFactoryIDStr CFSTR("6F1C2A94-3B7D-4E05-9A1B-7C2D5E8F0A13")
/* The bundle identifier by which the panel finds its own bundle. */
#define kAccountingBundleID "com.tovek.print.pde.Accounting_kv3300_2200"
/* What Prolog reports. */
#define kAccountingOptionKind "com.tovek.print.pde.AccountingKind"
#define kAccountingCreator 0x70646520 /* "pde " */
enum { kAccountingMaxH = 150, kAccountingMaxV = 378 };
/* The control property of the print dialog's default button that holds the bundle whose help
   book the panel opens. */
enum {
    kHelpBookPropertyCreator = 0x54504445 /* "TPDE" */,
    kHelpBookPropertyTag = 0x4D424E44 /* "MBND" */
};

#endif /* PLUGIN_PLUGINIDS_H */
