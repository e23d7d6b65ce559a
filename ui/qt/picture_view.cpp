#include "ui/qt/picture_view.h"

#include <QPaintEvent>
#include <QPainter>

#include <limits>

namespace brzdomat {

namespace {

bool IsWhole(const RgbImage& image)
{
    if (image.Width <= 0 || image.Height <= 0)
        return false;
    auto rowBytes = static_cast<std::size_t>(image.Width) * 3;
    if (rowBytes > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return false;
    return image.Pixels.size() / rowBytes >= static_cast<std::size_t>(image.Height);
}

} // namespace

PictureView::PictureView(QWidget* parent)
    : QWidget(parent)
{
    // Every pixel of the control is painted, white or picture, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::SetPicture(std::shared_ptr<const RgbImage> picture)
{
    if (!picture || !IsWhole(*picture))
        return;
    // The image only borrows the pixels; the shared pointer it owns keeps them alive for as long
    // as any copy of the image exists, also one still queued in the paint engine.
    auto* keeper = new std::shared_ptr<const RgbImage>(picture);
    QImage image((*keeper)->Pixels.data(), (*keeper)->Width, (*keeper)->Height,
        static_cast<qsizetype>((*keeper)->Width) * 3, QImage::Format_RGB888,
        [](void* owner) { delete static_cast<std::shared_ptr<const RgbImage>*>(owner); }, keeper);
    Image = std::move(image);
    Pixels = std::move(picture);
    update();
}

void PictureView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    auto area = event->rect();
    auto covered = area.intersected(Image.rect());
    // White only where the picture does not reach, so a repaint touches each pixel once.
    painter.setClipRegion(QRegion(area).subtracted(covered));
    painter.fillRect(area, Qt::white);
    painter.setClipping(false);
    if (!covered.isEmpty())
        painter.drawImage(covered.topLeft(), Image, covered);
}

} // namespace brzdomat
