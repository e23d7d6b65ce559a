#include "ui/qt/deferred_icon_style.h"

#include <QIconEngine>
#include <QPointer>
#include <QStyleOption>
#include <QWidget>

#include <functional>
#include <optional>

namespace brzdomat {

namespace {

// An icon that asks for its pixels the first time anything needs them, and then answers as the
// icon it was given would.
class DeferredIconEngine : public QIconEngine {
public:
    explicit DeferredIconEngine(std::function<QIcon()> make)
        : m_Make(std::move(make))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, 1.0, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    // The icons it stands for are compiled into Qt, so it is never empty; asking must not read
    // them.
    bool isNull() override { return m_Icon ? m_Icon->isNull() : false; }
    QIconEngine* clone() const override
    {
        auto* copy = new DeferredIconEngine(m_Make);
        copy->m_Icon = m_Icon;
        return copy;
    }

private:
    const QIcon& Icon()
    {
        if (!m_Icon)
            m_Icon = m_Make();
        return *m_Icon;
    }

    std::function<QIcon()> m_Make;
    std::optional<QIcon> m_Icon;
};

} // namespace

QIcon DeferredIconStyle::standardIcon(
    StandardPixmap standardPixmap, const QStyleOption* option, const QWidget* widget) const
{
    if (standardPixmap != SP_ToolBarHorizontalExtensionButton
        && standardPixmap != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(standardPixmap, option, widget);
    // Of the option only the direction counts for these icons. The widget may be gone by the
    // time the icon is drawn.
    std::optional<Qt::LayoutDirection> direction;
    if (option)
        direction = option->direction;
    // (QPointer only watches a widget it may change, though this one is only read.)
    QPointer<QWidget> guarded(const_cast<QWidget*>(widget));
    return QIcon(new DeferredIconEngine([this, standardPixmap, direction, guarded] {
        QStyleOption given;
        if (direction)
            given.direction = *direction;
        return QProxyStyle::standardIcon(
            standardPixmap, direction ? &given : nullptr, guarded.data());
    }));
}

} // namespace brzdomat
