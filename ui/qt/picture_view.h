#pragma once

// The question picture control. It draws the decoded pixels at their natural size from its
// top-left corner, clipped to its own area, never scaled or centred, and white wherever there is
// no picture.

#include "bank/rgb_image.h"

#include <QImage>
#include <QWidget>

#include <memory>

namespace brzdomat {

class PictureView : public QWidget {
public:
    explicit PictureView(QWidget* parent);

    // Replaces the picture. Pixels that do not match their stated size are refused and the
    // previous picture stays, as after any failed load.
    void SetPicture(std::shared_ptr<const RgbImage>);
    const std::shared_ptr<const RgbImage>& Picture() const { return m_Picture; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::shared_ptr<const RgbImage> m_Picture;
    QImage m_Image;
};

} // namespace brzdomat
