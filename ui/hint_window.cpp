#include "ui/hint_window.h"

#include "ui/artwork.h"
#include "ui/empty_title.h"
#include "ui/fonts.h"
#include "ui/hint_text.h"

#include <QPainter>

namespace sg::ui {

namespace {

constexpr int MARGIN = 5;
constexpr int INDENT = 10;
const QColor BLUE(0x1F, 0x3A, 0x93);

QFont TextFont()
{
    return UiFont(8.25, false);
}

QFont HeadingFont()
{
    return UiFont(8.25, true);
}

} // namespace

HintSheet::HintSheet(QWidget *parent) : QWidget(parent)
{
    setObjectName("Picture1");
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

int HintSheet::widestLine() const
{
    const QFontMetrics metrics(TextFont());
    int widest = 0;
    for (const HintParagraph &paragraph : HintParagraphs()) {
        for (const QString &line : paragraph.lines)
            widest = std::max(widest, INDENT + metrics.horizontalAdvance(line));
    }
    return MARGIN + widest;
}

void HintSheet::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics text(TextFont());
    const QFontMetrics heading(HeadingFont());
    int y = MARGIN;

    for (const HintParagraph &paragraph : HintParagraphs()) {
        const QRect frame(MARGIN, y, heading.horizontalAdvance(paragraph.heading) + 10,
                          heading.height() + 4);
        painter.setPen(QPen(BLUE, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        painter.setFont(HeadingFont());
        painter.drawText(frame, Qt::AlignCenter, paragraph.heading);
        y += frame.height() + 3;

        painter.setFont(TextFont());
        painter.setPen(Qt::black);
        for (const QString &line : paragraph.lines) {
            painter.drawText(MARGIN + INDENT, y + text.ascent(), line);
            y += text.height() + 1;
        }
        y += 6;
    }

    // The divisor formula as a real fraction, with 10 raised to the 7th.
    const QFont formulaFont = UiFont(9.75, true);
    const QFont exponentFont = UiFont(7.5, true);
    const QFontMetrics formula(formulaFont);
    const QFontMetrics exponent(exponentFont);
    painter.setPen(BLUE);
    painter.setFont(formulaFont);
    const int barY = y + formula.height() + 2;
    int x = MARGIN + INDENT;
    painter.drawText(x, barY + formula.ascent() / 2 - 1, FORMULA_LEFT);
    x += formula.horizontalAdvance(FORMULA_LEFT + ' ');

    const int numeratorWidth =
        formula.horizontalAdvance(FORMULA_NUMERATOR) + exponent.horizontalAdvance(FORMULA_EXPONENT);
    const int barWidth =
        std::max(numeratorWidth, formula.horizontalAdvance(FORMULA_DENOMINATOR)) + 8;
    const int numeratorX = x + (barWidth - numeratorWidth) / 2;
    painter.drawText(numeratorX, barY - formula.descent() - 2, FORMULA_NUMERATOR);
    painter.setFont(exponentFont);
    painter.drawText(numeratorX + formula.horizontalAdvance(FORMULA_NUMERATOR),
                     barY - formula.descent() - 2 - formula.ascent() / 2, FORMULA_EXPONENT);
    painter.setFont(formulaFont);
    painter.drawLine(x, barY, x + barWidth, barY);
    painter.drawText(x + (barWidth - formula.horizontalAdvance(FORMULA_DENOMINATOR)) / 2,
                     barY + formula.ascent() + 2, FORMULA_DENOMINATOR);
    painter.drawText(x + barWidth + 6, barY + formula.ascent() / 2 - 1, FORMULA_RIGHT);
}

HintWindow::HintWindow(QWidget *owner) : QWidget(owner, Qt::Window)
{
    setObjectName("HintWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(AppIcon());
    setFixedSize(10590 / 15, 4590 / 15);
    auto *sheet = new HintSheet(this);
    sheet->setGeometry(120 / 15, 120 / 15, 10335 / 15, 4335 / 15);
}

void HintWindow::showEvent(QShowEvent *event)
{
    ShowEmptyTitle(*this);
    QWidget::showEvent(event);
}

} // namespace sg::ui
