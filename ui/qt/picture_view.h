#pragma once

// The question picture control. It draws the decoded pixels at their natural size from its
// top-left corner, clipped to its own area, never centred, and white wherever there is no
// picture. Only a window arranged for a narrow page scales them, by the factor it gives.

#include "bank/rgb_image.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

namespace brzdomat {

class PictureView : public QWidget {
public:
    explicit PictureView(QWidget* parent);

    // Replaces the picture. Pixels that do not match their stated size are refused and the
    // previous picture stays, as after any failed load.
    void SetPicture(std::shared_ptr<const RgbImage>);
    const std::shared_ptr<const RgbImage>& Picture() const { return m_Picture; }
    // Replaces the picture with an image already in the screen's format (RGB32), as the
    // program's own pictures are.
    void SetImage(QImage);
    const QImage& Image() const { return m_Image; }

    // The factor the pixels are drawn at; 1 draws them as they are.
    void SetScale(double);
    double Scale() const { return m_Scale; }
    // Called when the user taps or clicks the picture; none by default.
    void SetTapHandler(std::function<void()> handler) { m_Tapped = std::move(handler); }

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    std::shared_ptr<const RgbImage> m_Picture;
    QImage m_Image;
    double m_Scale = 1;
    std::function<void()> m_Tapped;
};

} // namespace brzdomat
