#include "ui/qt/result_sheet.h"

#include "ui/qt/message_dialogs.h"

#include <QDir>
#include <QStandardPaths>

#include <algorithm>
#include <string>

#ifdef Q_OS_WIN
// windows.h first: commdlg.h builds on what it declares.
#include <windows.h>

#include <commdlg.h>
#else
#include <QFileDialog>
#endif

namespace brzdomat {

namespace {

// The file the user chose to save as, or nothing when they cancelled.
QString AskForFile(QWidget* parent, const QString& proposed)
{
#ifdef Q_OS_WIN
    // The Windows toolkit has no QFileDialog (it would bring Qt's whole file-system model along
    // for one dialog); the system's own dialog is the one a Windows user knows anyway.
    std::wstring file = QDir::toNativeSeparators(proposed).toStdWString();
    file.resize(std::max<std::size_t>(file.size() + 1, 32768), L'\0');
    const wchar_t filter[] = L"Dokument PDF (*.pdf)\0*.pdf\0";
    const std::wstring title = QStringLiteral("Uložit jako PDF").toStdWString();
    OPENFILENAMEW dialog {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = parent ? reinterpret_cast<HWND>(parent->window()->winId()) : nullptr;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = L"pdf";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog))
        return {};
    return QDir::fromNativeSeparators(QString::fromWCharArray(file.c_str()));
#else
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Uložit jako PDF"), proposed,
        QStringLiteral("Dokument PDF (*.pdf)"));
#endif
}

} // namespace

void SaveResultSheet(QWidget* parent, const ResultSheetContent& content)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString file = AskForFile(parent, QDir(folder).filePath(ResultSheetFileName(content)));
    if (file.isEmpty())
        return;
    QString error;
    if (!WriteResultSheet(content, file, error))
        // Nothing follows the box, so nothing waits for it.
        static_cast<void>(RunMessageBox(parent, KindCaption(MessageKind::Error), MessageIcon::Stop,
            QStringLiteral("Výsledek testu se nepodařilo uložit do souboru %1: %2")
                .arg(QDir::toNativeSeparators(file), error),
            ButtonSet::Ok));
}

} // namespace brzdomat
