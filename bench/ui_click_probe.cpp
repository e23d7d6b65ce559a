// Clicks at a point of the X display as a user would (a pointer press and release through the
// XTEST extension) and measures the time from the release until a pixel of the screen shows a
// given colour: how long the program under the pointer takes from a click to the picture it
// shows next. bench/web-page-bench measures the page in Chromium the same way.
//
// Usage: brzdomat_bench_click_probe CLICK-X CLICK-Y PIXEL-X PIXEL-Y RRGGBB [TIMEOUT-SECONDS]
// Prints: click_to_pixel_ms=<milliseconds>; exits with 1 when the colour did not come. With "-"
// for CLICK-X and CLICK-Y it only waits for the colour.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// JPEG pictures come near their colours, not onto them.
bool Near(unsigned long pixel, const XImage& image, long wanted)
{
    auto channel = [](unsigned long value, unsigned long mask) {
        int shift = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            value >>= 1;
            ++shift;
        }
        return static_cast<int>(value & 0xff);
    };
    int red = channel(pixel & image.red_mask, image.red_mask);
    int green = channel(pixel & image.green_mask, image.green_mask);
    int blue = channel(pixel & image.blue_mask, image.blue_mask);
    return std::abs(red - static_cast<int>((wanted >> 16) & 0xff)) < 40
        && std::abs(green - static_cast<int>((wanted >> 8) & 0xff)) < 40
        && std::abs(blue - static_cast<int>(wanted & 0xff)) < 40;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s CLICK-X CLICK-Y PIXEL-X PIXEL-Y RRGGBB [TIMEOUT-SECONDS]\n",
            argv[0]);
        return 2;
    }
    bool click = std::string_view(argv[1]) != "-";
    int clickX = std::atoi(argv[1]);
    int clickY = std::atoi(argv[2]);
    int pixelX = std::atoi(argv[3]);
    int pixelY = std::atoi(argv[4]);
    long wanted = std::strtol(argv[5], nullptr, 16);
    double timeout = argc > 6 ? std::strtod(argv[6], nullptr) : 10;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    Window root = DefaultRootWindow(display);
    if (click) {
        XTestFakeMotionEvent(display, -1, clickX, clickY, CurrentTime);
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XSync(display, False);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        XFlush(display);
    }
    auto released = std::chrono::steady_clock::now();
    for (;;) {
        XImage* image = XGetImage(display, root, pixelX, pixelY, 1, 1, AllPlanes, ZPixmap);
        auto now = std::chrono::steady_clock::now();
        bool arrived = image && Near(XGetPixel(image, 0, 0), *image, wanted);
        if (image)
            XDestroyImage(image);
        double elapsed = std::chrono::duration<double, std::milli>(now - released).count();
        if (arrived) {
            std::printf("click_to_pixel_ms=%.3f\n", elapsed);
            return 0;
        }
        if (elapsed > timeout * 1000) {
            std::fprintf(stderr, "the colour did not come within %g s\n", timeout);
            return 1;
        }
    }
}
