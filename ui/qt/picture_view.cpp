#include "ui/qt/picture_view.h"

#include "ui/qt/widget_helpers.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
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

// Screen readers present the control as an image; its description says which question it shows.
QAccessibleInterface* AccessiblePicture(PictureView* picture)
{
    return new QAccessibleWidget(picture, QAccessible::Graphic);
}

} // namespace

PictureView::PictureView(QWidget* parent)
    : QWidget(parent)
{
    InstallAccessible<PictureView, &AccessiblePicture>();
    // Every pixel of the control is painted, white or picture, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::SetPicture(std::shared_ptr<const RgbImage> picture)
{
    if (!picture || !IsWhole(*picture))
        return;
    // Converted once into the screen's own pixel format: drawn as they come, three bytes a pixel,
    // the pixels would be converted anew by the painter at every paint of a new picture, which
    // costs more than this one copy. The wrapper only borrows the pixels for the conversion.
    QImage borrowed(picture->Pixels.data(), picture->Width, picture->Height,
        static_cast<qsizetype>(picture->Width) * 3, QImage::Format_RGB888);
    auto converted = borrowed.convertToFormat(QImage::Format_RGB32);
    if (converted.isNull())
        return; // Out of memory: the previous picture stays.
    m_Image = std::move(converted);
    m_Picture = std::move(picture);
    update();
}

void PictureView::SetImage(QImage image)
{
    m_Image = std::move(image);
    m_Picture = nullptr;
    update();
}

void PictureView::SetScale(double scale)
{
    if (scale <= 0 || scale == m_Scale)
        return;
    m_Scale = scale;
    update();
}

void PictureView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_Tapped && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint()))
        m_Tapped();
    QWidget::mouseReleaseEvent(event);
}

void PictureView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (m_Scale != 1) {
        painter.fillRect(event->rect(), Qt::white);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.scale(m_Scale, m_Scale);
        painter.drawImage(QPointF(0, 0), m_Image);
        return;
    }
    auto area = event->rect();
    auto covered = area.intersected(m_Image.rect());
    // White only where the picture does not reach, so a repaint touches each pixel once.
    painter.setClipRegion(QRegion(area).subtracted(covered));
    painter.fillRect(area, Qt::white);
    painter.setClipping(false);
    if (!covered.isEmpty())
        painter.drawImage(covered.topLeft(), m_Image, covered);
}

} // namespace brzdomat
