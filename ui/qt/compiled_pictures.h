#pragma once

// The program's own pictures, compiled in from their PNGs by scripts/png-pixels: showing them
// reads no file, scans none of Qt's image plugins and runs no PNG decoder, which at start-up
// cost more time and memory than the pictures themselves.

#include <QImage>

#include <cstdint>

namespace brzdomat {

struct CompiledPicture {
    int Width;
    int Height;
    bool HasAlpha;
    // Row by row, 0xAARRGGBB.
    const std::uint32_t* Pixels;
};

extern const CompiledPicture SplashPicture; // ui/qt/artwork/splash.png
extern const CompiledPicture AboutIcon; // ui/qt/artwork/about_icon.png
extern const CompiledPicture WindowIcon; // the packaging's 64-pixel icon

// The picture as an image that borrows the compiled-in pixels: no copy is made until it is
// changed.
inline QImage ImageOf(const CompiledPicture& picture)
{
    return QImage(reinterpret_cast<const uchar*>(picture.Pixels), picture.Width, picture.Height,
        static_cast<qsizetype>(picture.Width) * 4,
        picture.HasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

} // namespace brzdomat
