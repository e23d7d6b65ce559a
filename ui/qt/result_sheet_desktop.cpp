#include "ui/qt/result_sheet.h"

#include "ui/qt/message_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace brzdomat {

void SaveResultSheet(QWidget* parent, const ResultSheetContent& content)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("Uložit jako PDF"),
        QDir(folder).filePath(ResultSheetFileName(content)),
        QStringLiteral("Dokument PDF (*.pdf)"));
    if (file.isEmpty())
        return;
    QString error;
    if (!WriteResultSheet(content, file, error))
        RunMessageBox(parent, KindCaption(MessageKind::Error), MessageIcon::Stop,
            QStringLiteral("Výsledek testu se nepodařilo uložit do souboru %1: %2")
                .arg(QDir::toNativeSeparators(file), error),
            ButtonSet::Ok);
}

} // namespace brzdomat
