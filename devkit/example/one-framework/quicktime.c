/* Calls the picture framework (Image I/O) only. */
#include <ImageIO/ImageIO.h>
#include <stdio.h>

int main(void) {
    CFTypeID type = CGImageSourceGetTypeID();
    printf("ImageIO %lu\n", (unsigned long)type);
    return type != 0 ? 0 : 1;
}
