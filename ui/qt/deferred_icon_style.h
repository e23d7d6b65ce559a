#pragma once

// The platform's own style, except that the menu bar's overflow arrow is read from Qt's
// resources only once it is drawn. Every menu bar asks for that icon as it is made, and reading
// any picture through Qt scans and loads every image-format plugin; the main window's menu bar
// never overflows, so without this the scan would delay the first window for a picture nobody
// sees. Everything else, what it draws included, is the base style's.

#include <QProxyStyle>

namespace brzdomat {

class DeferredIconStyle : public QProxyStyle {
public:
    QIcon standardIcon(
        StandardPixmap, const QStyleOption* = nullptr, const QWidget* = nullptr) const override;
};

} // namespace brzdomat
