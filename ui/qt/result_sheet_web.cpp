#include "ui/qt/result_sheet.h"

#include "ui/qt/message_dialogs.h"

#include <emscripten.h>

namespace brzdomat {

namespace {

// A page cannot ask where to save: the browser downloads the bytes under the name, into its
// downloads or wherever it asks its user. The link's blob: address is the page's own, which the
// page's content policy needs no word for.
// clang-format off
// The JavaScript is a macro's argument: the formatter would read it as C++.
EM_JS(void, DownloadPdf, (const char* bytes, int length, const char* name), {
    const blob = new Blob([HEAPU8.slice(bytes, bytes + length)], { type: "application/pdf" });
    const link = document.createElement("a");
    link.href = URL.createObjectURL(blob);
    link.download = UTF8ToString(name);
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
});
// clang-format on

} // namespace

void SaveResultSheet(QWidget* parent, const ResultSheetContent& content)
{
    const QByteArray bytes = ResultSheetBytes(content);
    if (bytes.isEmpty()) {
        // Nothing follows the box, so nothing waits for it.
        static_cast<void>(RunMessageBox(parent, KindCaption(MessageKind::Error), MessageIcon::Stop,
            QStringLiteral("Výsledek testu se nepodařilo převést do PDF."), ButtonSet::Ok));
        return;
    }
    DownloadPdf(bytes.constData(), static_cast<int>(bytes.size()),
        ResultSheetFileName(content).toUtf8().constData());
}

} // namespace brzdomat
