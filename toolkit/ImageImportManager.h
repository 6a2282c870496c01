/*
 * ImageImportManager.h: pictures by bare file name. A manager indexes every
 * file of a folder tree once; graphics importers, icons and decoded images of
 * indexed files are then opened on first request and cached. The caches are
 * class-wide: whichever manager is destroyed empties them for all. Also the
 * drawing of a named picture centred in a control, and image panes, controls
 * that draw the picture named by their "TPDE"/"SImg" property.
 */
#ifndef TOOLKIT_IMAGEIMPORTMANAGER_H
#define TOOLKIT_IMAGEIMPORTMANAGER_H

#include <Carbon/Carbon.h>
#include <QuickTime/QuickTime.h>

/* The image-pane property: the picture's file name as UTF-16 units, no terminator. */
enum { kImagePanePropertyCreator = 'TPDE', kImagePanePropertyTag = 'SImg' };

#ifdef __cplusplus

namespace toolkit {
class ImageIndex;
}

class ImageImportManager {
  public:
    /*
     * Indexes every file (not folder) under `folder`, at any depth; of two
     * files with one name, the one met later in the walk wins. An error in
     * the walk ends it; what was indexed until then stays usable. A manager
     * made while the caches exist starts new ones; what the old ones handed
     * out stays open until a manager is destroyed.
     */
    explicit ImageImportManager(FSRef folder);
    /* Closes the cached importers, releases the icons and images, and drops the index: those
       of every manager, as the caches are class-wide. */
    ~ImageImportManager();

    ImageImportManager(const ImageImportManager&) = delete;
    ImageImportManager& operator=(const ImageImportManager&) = delete;

    /*
     * The open graphics importer for the indexed file `name` (chosen by the
     * name's extension), or NULL: no caches, not indexed, or no importer for
     * the file (a failure is not cached). The manager keeps ownership.
     */
    static GraphicsImportComponent componentForFilename(CFStringRef name);
    /*
     * The icon read from the indexed file `name` as an icon family, or NULL.
     * A failure is cached too. The manager keeps ownership.
     */
    static IconRef iconForFilename(CFStringRef name);
    /*
     * The decoded image of the indexed file `name`, or NULL; always NULL when
     * the image decoding service cannot be found at run time. Cached only
     * when decoding succeeded. The manager keeps ownership.
     */
    static CGImageRef imageForFilename(CFStringRef name);

    /*
     * A per-item callback for FSIterateContainer: stores a heap copy of a
     * file's FSSpec under its name in the CF dictionary `userData`, replacing
     * (and deleting) an earlier one; ignores folders. Always false, so the
     * walk goes on. The manager's own index is kept in flat storage instead.
     */
    static Boolean ImageImportManagerFilterProc(Boolean containerChanged, ItemCount currentLevel,
                                                const FSCatalogInfo* catalogInfo, const FSRef* ref,
                                                const FSSpec* spec, const HFSUniStr255* name,
                                                void* userData);

  private:
    static void retireCaches();
    static void releaseCaches();

    static toolkit::ImageIndex* fsSpecs;      // name -> FSSpec (owned)
    static CFMutableDictionaryRef components; // name -> GraphicsImportComponent (owned)
    static CFMutableDictionaryRef icons;      // name -> IconRef or NULL (owned)
    static CFMutableDictionaryRef images;     // name -> CGImageRef (retained)
};

#endif /* __cplusplus */

CF_EXTERN_C_BEGIN

/*
 * DrawImage: erases the control's bounds (unless noErase) and draws the
 * indexed picture `name` at its natural size, centred in them. Without a
 * picture to draw, only the erasing happens. Returns 0 in every case.
 */
CF_EXPORT OSStatus DrawImage(CFStringRef name, ControlRef control, Boolean noErase);

/*
 * InitializeIcon: makes `control` an image pane: its kEventControlDraw is
 * answered by DrawIconEventHandler. paramErr for NULL, else noErr (a failed
 * installation is reported on standard error).
 */
CF_EXPORT OSStatus InitializeIcon(ControlRef control);

/*
 * DrawIconEventHandler: for kEventControlDraw, draws the picture named by the
 * control's image-pane property (nothing without one) and returns noErr, so
 * the control's own drawing does not run; eventNotHandledErr for anything else.
 */
CF_EXPORT OSStatus DrawIconEventHandler(EventHandlerCallRef callRef, EventRef event,
                                        void* userData);

CF_EXTERN_C_END

#endif /* TOOLKIT_IMAGEIMPORTMANAGER_H */
