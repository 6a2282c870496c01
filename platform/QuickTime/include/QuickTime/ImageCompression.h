/*
 * ImageCompression.h: graphics importers, which open a picture file, report
 * its natural size and draw it into a window's port, scaled to a destination
 * rectangle. GIF, PNG, JPEG, TIFF and BMP files are read.
 */
#ifndef QUICKTIME_IMAGECOMPRESSION_H
#define QUICKTIME_IMAGECOMPRESSION_H

#include <HIToolbox/Quickdraw.h>
#include <QuickTime/Components.h>

CF_EXTERN_C_BEGIN

typedef ComponentInstance GraphicsImportComponent;

enum { GraphicsImporterComponentType = 'grip' };

/* GetGraphicsImporterForFileWithFlags flags. */
enum { kDontUseValidateToFindGraphicsImporter = 1L << 0 };

/*
 * GetGraphicsImporterForFile: opens an importer for the picture in theFile,
 * chosen by what the file holds. The caller closes it (CloseComponent).
 * Returns noErr; paramErr for NULL arguments; the File Manager's error for a
 * file that is not there; cantFindHandler when no importer reads the file.
 * *gi is NULL on failure.
 */
CF_EXPORT OSErr GetGraphicsImporterForFile(const FSSpec* theFile, ComponentInstance* gi);

/*
 * GetGraphicsImporterForFileWithFlags: as GetGraphicsImporterForFile; with
 * kDontUseValidateToFindGraphicsImporter the importer is chosen by the file
 * name's extension alone (.gif, .png, .jpg/.jpeg, .tif/.tiff, .bmp) and the
 * content is read only when it is needed, so a file whose content does not
 * match its name fails later, with codecErr.
 */
CF_EXPORT OSErr GetGraphicsImporterForFileWithFlags(const FSSpec* theFile, ComponentInstance* gi,
                                                    long flags);

/*
 * GraphicsImportSetGWorld: the port the importer draws into (NULL: the
 * current port); there are no graphics devices, so gd is ignored.
 * GraphicsImportGetGWorld reads them back (*gd is always NULL).
 */
CF_EXPORT ComponentResult GraphicsImportSetGWorld(GraphicsImportComponent ci, CGrafPtr port,
                                                  GDHandle gd);
CF_EXPORT ComponentResult GraphicsImportGetGWorld(GraphicsImportComponent ci, CGrafPtr* port,
                                                  GDHandle* gd);

/*
 * GraphicsImportGetNaturalBounds: the picture's own size as (0, 0, height,
 * width). codecErr when the file cannot be decoded.
 */
CF_EXPORT ComponentResult GraphicsImportGetNaturalBounds(GraphicsImportComponent ci,
                                                         Rect* naturalBounds);

/*
 * GraphicsImportSetDestRect / GraphicsImportGetDestRect: the rectangle, in
 * port coordinates, that the picture is scaled into. Until one is set it is
 * the natural bounds.
 */
CF_EXPORT ComponentResult GraphicsImportSetDestRect(GraphicsImportComponent ci,
                                                    const Rect* destRect);
CF_EXPORT ComponentResult GraphicsImportGetDestRect(GraphicsImportComponent ci, Rect* destRect);

/*
 * GraphicsImportDraw: draws the picture into the port's window, scaled to the
 * destination rectangle, over what is there (transparent pixels let it show).
 * codecErr when the file cannot be decoded, paramErr without a port whose
 * window is still there.
 */
CF_EXPORT ComponentResult GraphicsImportDraw(GraphicsImportComponent ci);

CF_EXTERN_C_END

#endif /* QUICKTIME_IMAGECOMPRESSION_H */
