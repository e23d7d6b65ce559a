#include "ui/qt/fixed_size_dialog.h"

#include "ui/qt/widget_helpers.h"
#include "ui/qt/window_hints.h"

namespace brzdomat {

FixedSizeDialog::FixedSizeDialog(QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
}

void FixedSizeDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FixWindowHints(this);
    CentreFrameOnScreen(*this);
}

} // namespace brzdomat
