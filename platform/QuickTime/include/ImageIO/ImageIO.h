/* ImageIO.h: image sources and the images they decode. */
#ifndef IMAGEIO_IMAGEIO_H
#define IMAGEIO_IMAGEIO_H

#include <CoreGraphics/CGImage.h>
#include <ImageIO/CGImageSource.h>

#endif /* IMAGEIO_IMAGEIO_H */
