#include "tools/sample_pictures/question_card.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace brzdomat {
namespace {

QFont CardFont(int pixelSize, QFont::Weight weight)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

// Spreads the hues of the 32 tests around the colour wheel, at a depth that keeps white text
// readable on them.
QColor AccentOf(int test)
{
    return QColor::fromHsv(((test - 1) * 137) % 360, 170, 150);
}

// A small road-sign-like emblem, different for every question of a test, so that consecutive
// pictures differ in more than their numbers.
void DrawEmblem(QPainter& painter, QRectF box, QuestionRef question, QColor accent)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = box.center();
    const qreal radius = box.width() / 2 - 3;
    switch (question.Question % 3) {
    case 0: {
        painter.setPen(QPen(QColor(200, 20, 20), 7));
        painter.setBrush(Qt::white);
        painter.drawEllipse(centre, radius - 3, radius - 3);
        break;
    }
    case 1: {
        QPainterPath triangle;
        triangle.moveTo(centre.x(), box.top() + 3);
        triangle.lineTo(box.right() - 3, box.bottom() - 8);
        triangle.lineTo(box.left() + 3, box.bottom() - 8);
        triangle.closeSubpath();
        painter.setPen(QPen(QColor(200, 20, 20), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(QColor(255, 214, 0));
        painter.drawPath(triangle);
        break;
    }
    default: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(30, 80, 200));
        painter.drawRoundedRect(box.adjusted(3, 3, -3, -3), 8, 8);
        break;
    }
    }
    painter.setPen(question.Question % 3 == 2 ? Qt::white : accent.darker(150));
    painter.setFont(CardFont(26, QFont::Bold));
    painter.drawText(box.adjusted(0, question.Question % 3 == 1 ? 12 : 0, 0, 0), Qt::AlignCenter,
        QString::number(question.Question));
    painter.restore();
}

} // namespace

QImage DrawQuestionCard(QuestionRef question)
{
    QImage card(CardWidth, CardHeight, QImage::Format_RGB32);
    card.fill(Qt::white);
    const QColor accent = AccentOf(question.Test);

    QPainter painter(&card);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // Header band with the test and question number.
    painter.fillRect(QRect(0, 0, CardWidth, 44), accent);
    painter.setPen(Qt::white);
    painter.setFont(CardFont(20, QFont::Bold));
    painter.drawText(QRect(12, 0, CardWidth - 24, 44), Qt::AlignVCenter | Qt::AlignLeft,
        QStringLiteral("Test %1").arg(question.Test));
    painter.drawText(QRect(12, 0, CardWidth - 24, 44), Qt::AlignVCenter | Qt::AlignRight,
        QStringLiteral("Otázka %1 / 25").arg(question.Question));

    DrawEmblem(painter, QRectF(CardWidth - 92, 58, 80, 80), question, accent);

    painter.setPen(QColor(20, 20, 20));
    painter.setFont(CardFont(15, QFont::Bold));
    painter.drawText(QRect(14, 58, CardWidth - 120, 80),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
        QStringLiteral("Ukázková otázka %1 testu %2").arg(question.Question).arg(question.Test));
    painter.setFont(CardFont(13, QFont::Normal));
    painter.drawText(QRect(14, 104, CardWidth - 120, 60),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
        QStringLiteral("Zde by stálo znění otázky ze zkoušky. Tento obrázek je jen náhradní."));

    painter.setPen(QPen(QColor(190, 190, 190), 1));
    painter.drawLine(14, 160, CardWidth - 14, 160);

    // Answers A to D, each in a light box with its letter in the test's colour.
    const char letters[] = { 'A', 'B', 'C', 'D' };
    for (int index = 0; index < 4; ++index) {
        const QRect row(14, 176 + index * 64, CardWidth - 28, 54);
        painter.setPen(QPen(QColor(200, 200, 200), 1));
        painter.setBrush(QColor(246, 246, 246));
        painter.drawRoundedRect(row, 6, 6);
        const QRect letterBox(row.left() + 8, row.top() + 11, 32, 32);
        painter.setPen(Qt::NoPen);
        painter.setBrush(accent);
        painter.drawEllipse(letterBox);
        painter.setPen(Qt::white);
        painter.setFont(CardFont(17, QFont::Bold));
        painter.drawText(letterBox, Qt::AlignCenter, QString(QChar(letters[index])));
        painter.setPen(QColor(30, 30, 30));
        painter.setFont(CardFont(13, QFont::Normal));
        painter.drawText(row.adjusted(52, 0, -8, 0),
            Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap,
            QStringLiteral("Ukázková odpověď %1 k otázce %2 testu %3.")
                .arg(QChar(letters[index]))
                .arg(question.Question)
                .arg(question.Test));
    }

    painter.setPen(QColor(120, 120, 120));
    painter.setFont(CardFont(11, QFont::Normal));
    painter.drawText(QRect(14, CardHeight - 24, CardWidth - 28, 18),
        Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Brzdomat – ukázková sada obrázků"));
    painter.drawText(QRect(14, CardHeight - 24, CardWidth - 28, 18),
        Qt::AlignRight | Qt::AlignVCenter,
        QStringLiteral("%1_%2.jpg").arg(question.Test).arg(question.Question));
    painter.end();
    return card;
}

} // namespace brzdomat
