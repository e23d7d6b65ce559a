#include "ui/qt/result_sheet.h"

#include "bank/picture_area.h"
#include "bank/question_picture.h"
#include "testrun/exam_controller.h"
#include "testrun/picture_display.h"
#include "ui/qt/pdf/pdf_sheet.h"

#include <QPainterPath>

#include <algorithm>

namespace brzdomat {

namespace {

// Every length is in millimetres.
constexpr double Margin = 15;
constexpr double TextWidth = SheetPageWidth - 2 * Margin;

// The table of rows: each column's left edge and the row's height.
constexpr double RowHeight = 5;
constexpr double PositionColumn = 0;
constexpr double QuestionColumn = 14;
constexpr double PointsColumn = 34;
constexpr double GivenColumn = 48;
constexpr double KeyColumn = 78;
constexpr double OutcomeColumn = 108;

// A wrong answer's cell: its caption over the ticks beside the picture, two cells a row.
constexpr double TicksWidth = 30;
constexpr double PictureWidth = 56;
constexpr double PictureHeight = PictureWidth * VisibleHeight / VisibleWidth;
constexpr double CaptionHeight = 6;
constexpr double CellWidth = TextWidth / 2;
constexpr double CellHeight = CaptionHeight + PictureHeight + 8;
constexpr double BoxSize = 3.6;
constexpr double TickRowPitch = 6;

const QColor WrongColour(190, 30, 30);
const QColor UnansweredColour(110, 110, 110);

QString Letters(const OptionTicks& ticks)
{
    QString letters;
    for (const Option option : AllOptions)
        if (ticks[static_cast<std::size_t>(option)])
            letters += (letters.isEmpty() ? QString() : QStringLiteral(", "))
                + QChar('A' + static_cast<int>(option));
    return letters.isEmpty() ? QStringLiteral("–") : letters;
}

QString OutcomeWord(RowOutcome outcome)
{
    switch (outcome) {
    case RowOutcome::Right:
        return QStringLiteral("správně");
    case RowOutcome::Wrong:
        return QStringLiteral("špatně");
    case RowOutcome::Unanswered:
        break;
    }
    return QStringLiteral("nezodpovězeno");
}

QString Caption(const ResultSheetRow& row)
{
    return QStringLiteral("%1/%2 · %3")
        .arg(row.Question.Test)
        .arg(row.Question.Question)
        .arg(row.Points == 1     ? QStringLiteral("1 bod")
                : row.Points < 5 ? QStringLiteral("%1 body").arg(row.Points)
                                 : QStringLiteral("%1 bodů").arg(row.Points));
}

void DrawCell(QPainter& painter, const QRectF& area, const QString& text, const QFont& font,
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    painter.setFont(font);
    painter.drawText(SheetUnits(area), alignment, text);
}

// A check box as the main window draws one: a framed square, with a tick when it is ticked.
void DrawTickBox(QPainter& painter, QPointF topLeft, bool ticked)
{
    const QRectF box(topLeft, QSizeF(BoxSize, BoxSize));
    painter.setPen(QPen(Qt::black, SheetUnits(0.25)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(SheetUnits(box));
    if (!ticked)
        return;
    QPainterPath tick;
    tick.moveTo(SheetUnits(QPointF(box.left() + 0.7, box.top() + 1.9)));
    tick.lineTo(SheetUnits(QPointF(box.left() + 1.5, box.top() + 2.8)));
    tick.lineTo(SheetUnits(QPointF(box.right() - 0.6, box.top() + 0.7)));
    painter.setPen(QPen(Qt::black, SheetUnits(0.5), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
}

// A wrong answer: the caption, the columns "správně" and "váš výběr" left of the picture as the
// main window has them, and the picture as the program shows it, or the program's message when
// it cannot show it.
void DrawWrongAnswer(
    QPainter& painter, const ResultSheetRow& row, std::string_view startDirectory, QPointF corner)
{
    painter.setPen(Qt::black);
    DrawCell(painter, QRectF(corner, QSizeF(CellWidth, CaptionHeight)), Caption(row),
        SheetFont(9, QFont::Bold));

    const double top = corner.y() + CaptionHeight;
    const double correctColumn = corner.x() + 6;
    const double choiceColumn = corner.x() + 18;
    const QFont heading = SheetFont(6.5);
    DrawCell(painter, QRectF(correctColumn - 4, top + 2, BoxSize + 8, 4), QStringLiteral("správně"),
        heading, Qt::AlignCenter);
    DrawCell(painter, QRectF(choiceColumn - 4, top + 2, BoxSize + 8, 4),
        QStringLiteral("váš výběr"), heading, Qt::AlignCenter);
    for (const Option option : AllOptions) {
        const auto index = static_cast<std::size_t>(option);
        const double y = top + 8 + static_cast<double>(index) * TickRowPitch;
        painter.setPen(Qt::black);
        DrawCell(painter, QRectF(corner.x(), y, 4, BoxSize), QString(QChar('A' + int(index))),
            SheetFont(8, QFont::Bold));
        DrawTickBox(painter, QPointF(correctColumn, y), row.Key[index]);
        DrawTickBox(painter, QPointF(choiceColumn, y), row.Given[index]);
    }

    const QRectF area(corner.x() + TicksWidth, top, PictureWidth, PictureHeight);
    const DecodeResult loaded = LoadQuestionPicture(startDirectory, row.Question);
    if (loaded.Image) {
        DrawPictureArea(painter, HalfSizePictureArea(*loaded.Image), area);
    } else {
        painter.setPen(WrongColour);
        painter.setFont(SheetFont(8));
        painter.drawText(SheetUnits(area.adjusted(3, 3, -3, -3)), SheetText(PictureFailureText),
            SheetTextFlow::Wrapped());
    }
    painter.setPen(QPen(QColor(160, 160, 160), SheetUnits(0.2)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(SheetUnits(area.adjusted(-0.1, -0.1, 0.1, 0.1)));
}

void DrawSheet(PdfSheet& sheet, const ResultSheetContent& content)
{
    QPainter& painter = sheet.Painter();
    SheetTextFlow flow(sheet, Margin);
    flow.NewPage();
    flow.Paragraph(
        QStringLiteral("Brzdomat: výsledek testu"), SheetFont(16, QFont::Bold), Qt::black, 2);
    flow.Paragraph(
        QStringLiteral("Datum a čas: ") + content.Ended.toString(QStringLiteral("d. M. yyyy H:mm")),
        SheetFont(10), Qt::black, 2);
    for (const std::string& line : content.HeadLines)
        flow.Paragraph(SheetText(line), SheetFont(10), Qt::black, 0.8);
    flow.MoveTo(flow.Top() + 1.5);
    flow.Paragraph(
        SheetText(content.Verdict), SheetFont(14, QFont::Bold), content.VerdictColour, 4);

    // The student writes the name on the line.
    const QString nameLabel = QStringLiteral("Jméno studenta:");
    painter.setPen(Qt::black);
    DrawCell(painter, QRectF(Margin, flow.Top(), TextWidth, 7), nameLabel, SheetFont(10),
        Qt::AlignLeft | Qt::AlignBottom);
    painter.setPen(QPen(Qt::black, SheetUnits(0.25)));
    painter.drawLine(SheetUnits(QPointF(Margin + 30, flow.Top() + 6.5)),
        SheetUnits(QPointF(Margin + 120, flow.Top() + 6.5)));
    flow.MoveTo(flow.Top() + 14);

    const auto tableHeading = [&] {
        const double y = flow.Top();
        const QFont bold = SheetFont(9, QFont::Bold);
        painter.setPen(Qt::black);
        const std::pair<double, const char*> headings[] = { { PositionColumn, "Pořadí" },
            { QuestionColumn, "Otázka" }, { PointsColumn, "Body" }, { GivenColumn, "Váš výběr" },
            { KeyColumn, "Správně" }, { OutcomeColumn, "Výsledek" } };
        for (const auto& [column, text] : headings)
            DrawCell(painter, QRectF(Margin + column, y, 40, RowHeight), SheetText(text), bold);
        painter.setPen(QPen(Qt::black, SheetUnits(0.25)));
        painter.drawLine(SheetUnits(QPointF(Margin, y + RowHeight)),
            SheetUnits(QPointF(Margin + OutcomeColumn + 30, y + RowHeight)));
        flow.MoveTo(y + RowHeight + 0.8);
    };
    tableHeading();
    const QFont plain = SheetFont(9);
    for (const ResultSheetRow& row : content.Rows) {
        if (flow.Top() + RowHeight > SheetPageHeight - Margin) {
            flow.NewPage();
            tableHeading();
        }
        const double y = flow.Top();
        painter.setPen(Qt::black);
        const auto cell = [&](double column, const QString& text) {
            DrawCell(painter, QRectF(Margin + column, y, 30, RowHeight), text, plain);
        };
        cell(PositionColumn, QString::number(row.Position));
        cell(QuestionColumn,
            QStringLiteral("%1/%2").arg(row.Question.Test).arg(row.Question.Question));
        cell(PointsColumn, QString::number(row.Points));
        cell(GivenColumn,
            row.Outcome == RowOutcome::Unanswered ? QStringLiteral("–") : Letters(row.Given));
        cell(KeyColumn, Letters(row.Key));
        painter.setPen(row.Outcome == RowOutcome::Wrong ? WrongColour
                : row.Outcome == RowOutcome::Unanswered ? UnansweredColour
                                                        : QColor(Qt::black));
        DrawCell(painter, QRectF(Margin + OutcomeColumn, y, 40, RowHeight),
            OutcomeWord(row.Outcome),
            row.Outcome == RowOutcome::Wrong ? SheetFont(9, QFont::Bold) : plain);
        flow.MoveTo(y + RowHeight);
    }

    std::vector<const ResultSheetRow*> wrong;
    for (const ResultSheetRow& row : content.Rows)
        if (row.Outcome == RowOutcome::Wrong)
            wrong.push_back(&row);
    if (wrong.empty())
        return;
    flow.MoveTo(flow.Top() + 6);
    flow.Reserve(8 + CellHeight);
    flow.Paragraph(QStringLiteral("Chybné odpovědi"), SheetFont(12, QFont::Bold), Qt::black, 3);
    for (std::size_t index = 0; index < wrong.size(); ++index) {
        const bool left = index % 2 == 0;
        if (left)
            flow.Reserve(CellHeight);
        DrawWrongAnswer(painter, *wrong[index], content.StartDirectory,
            QPointF(Margin + (left ? 0 : CellWidth), flow.Top()));
        if (!left || index + 1 == wrong.size())
            flow.MoveTo(flow.Top() + CellHeight);
    }
}

const QString Title = QStringLiteral("Brzdomat: výsledek testu");
const QString Creator = QStringLiteral("Brzdomat");

} // namespace

QString ResultSheetFileName(const ResultSheetContent& content)
{
    const QString mode = content.TestMode == ModeWholeTest
        ? QStringLiteral("test-%1").arg(content.Test)
        : content.TestMode == ModeRandomSelection ? QStringLiteral("nahodny-vyber")
        : content.TestMode == ModeMistakes        ? QStringLiteral("chybne-otazky")
                                                  : QStringLiteral("nahodne-otazky");
    return QStringLiteral("Brzdomat-%1-%2.pdf")
        .arg(mode, content.Ended.date().toString(QStringLiteral("yyyy-MM-dd")));
}

bool WriteResultSheet(const ResultSheetContent& content, const QString& file, QString& error)
{
    PdfSheet sheet(file);
    if (!sheet.Begin(Title, Creator)) {
        error = sheet.Error().isEmpty() ? QStringLiteral("PDF nejde začít") : sheet.Error();
        return false;
    }
    DrawSheet(sheet, content);
    if (!sheet.Finish()) {
        error = sheet.Error();
        return false;
    }
    return true;
}

QByteArray ResultSheetBytes(const ResultSheetContent& content)
{
    PdfSheet sheet;
    if (!sheet.Begin(Title, Creator))
        return {};
    DrawSheet(sheet, content);
    sheet.Finish();
    return sheet.Bytes();
}

} // namespace brzdomat
