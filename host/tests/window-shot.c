/* window-shot: saves what an X window shows as a PNG and compares it with a picture of the same
 * window drawn headless.
 *
 *   window-shot WINDOW-ID SHOT.png EXPECTED.png
 *   window-shot --close WINDOW-ID      asks the window to close, as a title bar's button does
 *
 * The window may hold more than the picture (a title bar drawn by the toolkit), so the picture
 * is looked for at every offset up to 64 pixels in; the best offset is printed as "offset X Y",
 * then "differing N of M" pixels (any channel off by more than 24). Exit status: 0 when at most
 * 0.05% of the pixels differ, 1 when more do, 2 on errors. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { kSearch = 64, kChannelTolerance = 24 };

static int differs(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
        int d = (int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF);
        if (d > kChannelTolerance || d < -kChannelTolerance)
            return 1;
    }
    return 0;
}

static uint32_t pixel(cairo_surface_t* s, int x, int y) {
    const unsigned char* row =
        cairo_image_surface_get_data(s) + (size_t)y * (size_t)cairo_image_surface_get_stride(s);
    return ((const uint32_t*)row)[x];
}

/* Differing pixels with the picture at (dx, dy); every `step`th pixel only. */
static long count_differing(cairo_surface_t* shot, cairo_surface_t* expected, int dx, int dy,
                            int step) {
    const int w = cairo_image_surface_get_width(expected),
              h = cairo_image_surface_get_height(expected);
    long n = 0;
    for (int y = 0; y < h; y += step)
        for (int x = 0; x < w; x += step)
            n += differs(pixel(shot, x + dx, y + dy), pixel(expected, x, y));
    return n;
}

static cairo_surface_t* grab(const char* id_text) {
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "window-shot: cannot open the display\n");
        return NULL;
    }
    Window window = (Window)strtoul(id_text, NULL, 0);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        fprintf(stderr, "window-shot: no window %s\n", id_text);
        XCloseDisplay(display);
        return NULL;
    }
    XImage* image = XGetImage(display, window, 0, 0, (unsigned)attributes.width,
                              (unsigned)attributes.height, AllPlanes, ZPixmap);
    cairo_surface_t* shot =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, attributes.width, attributes.height);
    if (image != NULL) {
        cairo_surface_flush(shot);
        for (int y = 0; y < attributes.height; ++y)
            for (int x = 0; x < attributes.width; ++x) {
                unsigned char* row = cairo_image_surface_get_data(shot) +
                                     (size_t)y * (size_t)cairo_image_surface_get_stride(shot);
                ((uint32_t*)row)[x] = (uint32_t)XGetPixel(image, x, y) & 0xFFFFFF;
            }
        cairo_surface_mark_dirty(shot);
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return shot;
}

static int close_window(const char* id_text) {
    Display* display = XOpenDisplay(NULL);
    if (display == NULL)
        return 2;
    XEvent event = {0};
    event.xclient.type = ClientMessage;
    event.xclient.window = (Window)strtoul(id_text, NULL, 0);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return sent ? 0 : 2;
}

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "--close") == 0)
        return close_window(argv[2]);
    if (argc != 4) {
        fprintf(stderr, "usage: window-shot WINDOW-ID SHOT.png EXPECTED.png\n");
        return 2;
    }
    cairo_surface_t* shot = grab(argv[1]);
    cairo_surface_t* expected = cairo_image_surface_create_from_png(argv[3]);
    if (shot == NULL || cairo_surface_status(expected) != CAIRO_STATUS_SUCCESS) {
        fprintf(stderr, "window-shot: cannot read %s\n", shot == NULL ? argv[1] : argv[3]);
        return 2;
    }
    cairo_surface_write_to_png(shot, argv[2]);
    const int w = cairo_image_surface_get_width(expected),
              h = cairo_image_surface_get_height(expected);
    const int room_x = cairo_image_surface_get_width(shot) - w;
    const int room_y = cairo_image_surface_get_height(shot) - h;
    if (room_x < 0 || room_y < 0) {
        printf("the window (%dx%d) is smaller than the picture (%dx%d)\n",
               cairo_image_surface_get_width(shot), cairo_image_surface_get_height(shot), w, h);
        return 1;
    }
    int best_x = 0, best_y = 0;
    long best = -1;
    for (int dy = 0; dy <= room_y && dy <= kSearch; ++dy)
        for (int dx = 0; dx <= room_x && dx <= kSearch; ++dx) {
            long n = count_differing(shot, expected, dx, dy, 4);
            if (best < 0 || n < best) {
                best = n;
                best_x = dx;
                best_y = dy;
            }
        }
    const long differing = count_differing(shot, expected, best_x, best_y, 1);
    const long total = (long)w * h;
    printf("offset %d %d\ndiffering %ld of %ld\n", best_x, best_y, differing, total);
    return differing * 2000 <= total ? 0 : 1;
}
