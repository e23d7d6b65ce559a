#include "ui/qt/review_window.h"

#include "bank/picture_area.h"
#include "testrun/exam_controller.h"
#include "testrun/picture_display.h"
#include "testrun/run_review.h"
#include "ui/qt/fixed_size_dialog.h"
#include "ui/qt/layout_fonts.h"
#include "ui/qt/main_window.h"
#include "ui/qt/picture_view.h"
#include "ui/qt/result_sheet.h"
#include "ui/qt/widget_helpers.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStyle>
#include <QTreeView>

#include <algorithm>
#include <array>
#include <chrono>

namespace brzdomat {

namespace {

constexpr int PictureLeft = 482;
// The text's size in the window arranged for a phone.
constexpr int PhoneFontPixels = 12;
constexpr int PictureTop = 80;
constexpr int BoxTops[] = { 100, 120, 140, 160 };
constexpr const char* RowLetters[] = { "A", "B", "C", "D" };

RowOutcome OutcomeOf(AnswerResult result)
{
    switch (result) {
    case AnswerResult::Right:
        return RowOutcome::Right;
    case AnswerResult::Wrong:
        return RowOutcome::Wrong;
    case AnswerResult::Unanswered:
        break;
    }
    return RowOutcome::Unanswered;
}

// The sheet says what the review says: the head line's parts one to a line, the same rows.
ResultSheetContent SheetContentOf(const RunRecord& record)
{
    ResultSheetContent content;
    content.Ended = QDateTime::fromSecsSinceEpoch(
        std::chrono::duration_cast<std::chrono::seconds>(record.Ended.time_since_epoch()).count());
    const std::string_view modes[]
        = { ModeWholeTest, ModeRandomSelection, ModeFullyRandom, ModeMistakes };
    content.TestMode = std::string(modes[static_cast<std::size_t>(record.Kind)]);
    content.Test = record.Test;
    const QString head = FromUtf8(ReviewHeadLine(record));
    for (const QString& part : head.split(QString::fromUtf8(" · ")))
        content.HeadLines.push_back(part.toStdString());
    content.Verdict = record.Verdict;
    content.VerdictColour
        = QColor(record.VerdictColour.Red, record.VerdictColour.Green, record.VerdictColour.Blue);
    content.StartDirectory = record.StartDirectory;
    int position = 0;
    for (const auto& question : record.Questions) {
        ResultSheetRow row;
        row.Position = ++position;
        row.Question = question.Question;
        row.Points = question.Points;
        row.Given = question.Ticked;
        row.Key = question.Correct;
        row.Outcome = OutcomeOf(question.Result);
        content.Rows.push_back(row);
    }
    return content;
}

class ReviewWindow : public FixedSizeDialog {
public:
    ReviewWindow(QWidget* parent, const RunRecord& record, int screenBits)
        : FixedSizeDialog(parent)
        , m_Record(record)
        , m_ScreenBits(screenBits)
    {
        setObjectName(QStringLiteral("ReviewWindow"));
        setWindowTitle(QString::fromUtf8("Přehled testu"));
        setFont(LayoutFont(WindowFontPixels));
        setFixedSize(PictureLeft + VisibleWidth + 8, 600);
        setSizeGripEnabled(false);
        setModal(true);

        auto* head = new QLabel(FromUtf8(ReviewHeadLine(record)), this);
        head->setObjectName(QStringLiteral("ReviewHead"));
        head->setTextFormat(Qt::PlainText);
        head->setWordWrap(true);
        const QRect headPlace(8, 8, PictureLeft + VisibleWidth - 8, 34);
        head->setGeometry(headPlace);

        auto* verdict = new QLabel(FromUtf8(record.Verdict), this);
        verdict->setObjectName(QStringLiteral("ReviewVerdict"));
        verdict->setTextFormat(Qt::PlainText);
        verdict->setFont(LayoutFont(19, Weight::Bold));
        SetTextColour(verdict, record.VerdictColour);
        const QRect verdictPlace(8, 42, 400, 30);
        verdict->setGeometry(verdictPlace);
        verdict->setAccessibleName(QString::fromUtf8("Test: ") + verdict->text());

        BuildRows();
        BuildTicks();

        m_Picture = new PictureView(this);
        m_Picture->setObjectName(QStringLiteral("ReviewPicture"));
        m_Picture->setGeometry(PictureLeft, PictureTop, VisibleWidth, VisibleHeight);
        m_Failure = new QLabel(FromUtf8(PictureFailureText), this);
        m_Failure->setObjectName(QStringLiteral("ReviewPictureFailure"));
        m_Failure->setWordWrap(true);
        m_Failure->setAlignment(Qt::AlignCenter);
        m_Failure->setGeometry(PictureLeft, PictureTop, VisibleWidth, VisibleHeight);
        m_Failure->hide();

        auto* practise = new QPushButton(QString::fromUtf8("Procvičit chybné"), this);
        practise->setObjectName(QStringLiteral("ReviewPractise"));
        practise->setGeometry(8, 560, 130, 25);
        practise->setEnabled(record.CountOf(AnswerResult::Wrong) > 0);
        practise->setAutoDefault(false);
        connect(practise, &QPushButton::clicked, this, [this] { done(PractiseMistakesResult); });

        auto* save = new QPushButton(QString::fromUtf8("Uložit jako PDF…"), this);
        save->setObjectName(QStringLiteral("ReviewSavePdf"));
        save->setGeometry(146, 560, 130, 25);
        save->setAutoDefault(false);
        connect(save, &QPushButton::clicked, this,
            [this] { SaveResultSheet(this, SheetContentOf(m_Record)); });

        auto* close = new QPushButton(QString::fromUtf8("Zavřít"), this);
        close->setObjectName(QStringLiteral("ReviewClose"));
        close->setGeometry(PictureLeft + VisibleWidth - 100, 560, 100, 25);
        close->setAutoDefault(false);
        connect(close, &QPushButton::clicked, this, &QDialog::reject);

        FitLayoutFaces(this);
        // The fitting sizes each label to its text; these two keep their full widths to wrap in.
        head->setGeometry(headPlace);
        verdict->setGeometry(verdictPlace);
        auto* main = dynamic_cast<MainWindow*>(parent);
        if (main && main->CurrentArrangement() == Arrangement::Portrait)
            ArrangeForPhone(main->size());
        FitColumns();
        m_Rows->setFocus();
        if (m_Model->rowCount() > 0)
            m_Rows->setCurrentIndex(m_Model->index(0, 0));
        CentreFrameOnScreen(*this);
    }

private:
    void BuildRows()
    {
        m_Model = new QStandardItemModel(0, 6, this);
        m_Model->setHorizontalHeaderLabels({ QStringLiteral("#"), QString::fromUtf8("Otázka"),
            QStringLiteral("Body"), QString::fromUtf8("Zaškrtnuto"), QString::fromUtf8("Správně"),
            QString::fromUtf8("Výsledek") });
        int position = 0;
        for (const auto& question : m_Record.Questions) {
            ++position;
            bool answered = question.Result != AnswerResult::Unanswered;
            const QString cells[] = { QString::number(position),
                QStringLiteral("%1/%2").arg(question.Question.Test).arg(question.Question.Question),
                QString::number(question.Points),
                answered ? FromUtf8(OptionsText(question.Ticked)) : QString(),
                FromUtf8(OptionsText(question.Correct)), FromUtf8(ResultText(question.Result)) };
            // The row is read as one sentence, whichever of its cells has the focus.
            const QString sentence = FromUtf8(QuestionSentence(question));
            QList<QStandardItem*> row;
            for (const QString& text : cells) {
                auto* cell = new QStandardItem(text);
                cell->setEditable(false);
                cell->setData(sentence, Qt::AccessibleTextRole);
                row.append(cell);
            }
            m_Model->appendRow(row);
        }

        // A plain view of the model: the item widgets are not in every toolkit the program is
        // built with.
        m_Rows = new QTreeView(this);
        m_Rows->setObjectName(QStringLiteral("ReviewRows"));
        m_Rows->setGeometry(8, 80, 372, 470);
        m_Rows->setModel(m_Model);
        m_Rows->setRootIsDecorated(false);
        m_Rows->setItemsExpandable(false);
        m_Rows->setAllColumnsShowFocus(true);
        m_Rows->setUniformRowHeights(true);
        m_Rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_Rows->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_Rows->setSelectionMode(QAbstractItemView::SingleSelection);
        m_Rows->setAccessibleName(QString::fromUtf8("otázky testu"));
        m_Rows->header()->setSectionsMovable(false);
        m_Rows->header()->setStretchLastSection(true);
        connect(m_Rows->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { ShowRow(current.row()); });
    }

    // A phone held upright, where the main window is a column filling the page: the review fills
    // it too, its controls one above the other in the page's width and its text no smaller than
    // 12 pixels; the page shows it without a frame (brzdomat-page.js asks nothing of it).
    void ArrangeForPhone(QSize page)
    {
        const int width = page.width();
        const int height = page.height();
        const int inner = width - 16;
        setFixedSize(page);
        setProperty(FillsPageProperty, true);
        const QFont text = LayoutFont(PhoneFontPixels);
        setFont(text);
        for (QLabel* label : findChildren<QLabel*>())
            if (label->objectName() != QStringLiteral("ReviewVerdict"))
                label->setFont(text);
        findChild<QLabel*>(QStringLiteral("ReviewHead"))->setGeometry(8, 8, inner, 50);
        findChild<QLabel*>(QStringLiteral("ReviewVerdict"))->setGeometry(8, 58, inner, 28);

        // The buttons in a row at the bottom, finger-high; the ticks in three lines above them:
        // the letters, "správně" with its boxes, "váš výběr" with the student's.
        const int finger = 44;
        const int buttonsTop = height - 8 - finger;
        const char* buttons[] = { "ReviewPractise", "ReviewSavePdf", "ReviewClose" };
        const int buttonWidth = (inner - 16) / 3;
        for (int index = 0; index < 3; ++index)
            findChild<QPushButton*>(QString::fromLatin1(buttons[index]))
                ->setGeometry(8 + index * (buttonWidth + 8), buttonsTop, buttonWidth, finger);
        const int line = 22;
        const int ticksTop = buttonsTop - 8 - 3 * line;
        const int columnLeft = 96;
        const int columnPitch = (inner - columnLeft) / 4;
        for (std::size_t row = 0; row < 4; ++row) {
            const int left = columnLeft + static_cast<int>(row) * columnPitch;
            m_Letters[row]->setGeometry(left + 3, ticksTop, 17, line);
            m_CorrectBoxes[row]->setGeometry(left, ticksTop + line + 2, 17, 17);
            m_TickedBoxes[row]->setGeometry(left, ticksTop + 2 * line + 2, 17, 17);
        }
        m_Headings[0]->setGeometry(8, ticksTop + line, 80, line);
        m_Headings[1]->setGeometry(8, ticksTop + 2 * line, 28, line);
        m_Headings[2]->setGeometry(38, ticksTop + 2 * line, 56, line);

        // The rows keep room for about six; the picture takes the page's width, or what height
        // is left.
        const int rowsTop = 92;
        const int room = ticksTop - 8 - rowsTop - 8;
        const double widthScale = static_cast<double>(inner) / VisibleWidth;
        const int minimumRows = 150;
        const int pictureHeight
            = std::min(static_cast<int>(VisibleHeight * widthScale), room - minimumRows);
        const double scale
            = std::min(widthScale, static_cast<double>(pictureHeight) / VisibleHeight);
        const int rowsHeight = room - static_cast<int>(VisibleHeight * scale);
        m_Rows->setGeometry(8, rowsTop, inner, rowsHeight);
        const QRect picture(8, rowsTop + rowsHeight + 8, static_cast<int>(VisibleWidth * scale),
            static_cast<int>(VisibleHeight * scale));
        m_Picture->SetScale(scale);
        m_Picture->setGeometry(picture);
        m_Failure->setGeometry(picture);
    }

    // Each column as wide as its widest text in the face the window ended up with, the last
    // taking the rest: a PC's face may be wider than the design's, and a scroll bar takes its
    // room when the run has more rows than the view shows.
    void FitColumns()
    {
        const QFontMetrics cells(m_Rows->font());
        const QFontMetrics headings(m_Rows->header()->font());
        const int cellMargin = m_Rows->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 2;
        const int headingMargin = m_Rows->style()->pixelMetric(QStyle::PM_HeaderMargin) + 2;
        for (int column = 0; column < m_Model->columnCount(); ++column) {
            int width
                = headings.horizontalAdvance(m_Model->headerData(column, Qt::Horizontal).toString())
                + 2 * headingMargin;
            for (int row = 0; row < m_Model->rowCount(); ++row)
                width = std::max(width,
                    cells.horizontalAdvance(m_Model->item(row, column)->text()) + 2 * cellMargin);
            m_Rows->setColumnWidth(column, width);
        }
    }

    void BuildTicks()
    {
        auto heading = [this](const char* text, int left, int top) {
            auto* label = new QLabel(QString::fromUtf8(text), this);
            label->setGeometry(left, top, 60, 16);
            return label;
        };
        m_Headings
            = { heading("správně", 398, 80), heading("váš", 452, 64), heading("výběr", 446, 80) };
        for (std::size_t row = 0; row < 4; ++row) {
            auto* letter = new QLabel(QString::fromLatin1(RowLetters[row]), this);
            letter->setGeometry(386, BoxTops[row], 10, 17);
            m_Letters[row] = letter;
            auto makeBox = [&](int left, const char* column) {
                auto* box = new QCheckBox(this);
                box->setObjectName(
                    QString::fromLatin1(column) + QString::fromLatin1(RowLetters[row]));
                box->setAccessibleName(
                    QString::fromUtf8(column[0] == 'C' ? "správně " : "výběr ") + RowLetters[row]);
                box->setGeometry(left, BoxTops[row], 17, 17);
                // Shown, never changed: the window is a look back.
                box->setAttribute(Qt::WA_TransparentForMouseEvents);
                box->setFocusPolicy(Qt::NoFocus);
                return box;
            };
            m_CorrectBoxes[row] = makeBox(408, "Correct");
            m_TickedBoxes[row] = makeBox(450, "Ticked");
        }
    }

    void ShowRow(int index)
    {
        if (index < 0 || index >= static_cast<int>(m_Record.Questions.size()))
            return;
        const auto& question = m_Record.Questions[static_cast<std::size_t>(index)];
        for (std::size_t option = 0; option < 4; ++option) {
            m_TickedBoxes[option]->setChecked(question.Ticked[option]);
            // The key's answers are revealed for every row but a right one, as the main window
            // reveals them after a wrong answer only.
            m_CorrectBoxes[option]->setChecked(
                question.Result != AnswerResult::Right && question.Correct[option]);
        }
        DecodeResult loaded
            = LoadPictureForScreen(m_ScreenBits, m_Record.StartDirectory, question.Question);
        bool shown = loaded.Image != nullptr;
        if (shown)
            m_Picture->SetPicture(std::move(loaded.Image));
        m_Picture->setVisible(shown);
        m_Failure->setVisible(!shown);
        m_Picture->setAccessibleDescription(QStringLiteral("Test č. %1, otázka č. %2")
                                                .arg(question.Question.Test)
                                                .arg(question.Question.Question));
    }

    RunRecord m_Record;
    int m_ScreenBits;
    QStandardItemModel* m_Model = nullptr;
    QTreeView* m_Rows = nullptr;
    PictureView* m_Picture = nullptr;
    QLabel* m_Failure = nullptr;
    std::array<QCheckBox*, 4> m_TickedBoxes {};
    // "správně", "váš" and "výběr" over the columns of ticks, and the letters beside them.
    std::array<QLabel*, 3> m_Headings {};
    std::array<QLabel*, 4> m_Letters {};
    std::array<QCheckBox*, 4> m_CorrectBoxes {};
};

} // namespace

std::unique_ptr<QDialog> MakeReviewWindow(QWidget* parent, const RunRecord& record, int screenBits)
{
    return std::make_unique<ReviewWindow>(parent, record, screenBits);
}

} // namespace brzdomat
