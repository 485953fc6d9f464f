#include "ui/hint_window.h"

#include "form/hint_sheet.h"
#include "ui/artwork.h"
#include "ui/empty_title.h"
#include "ui/fonts.h"
#include "ui/form_adapter.h"

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
    for (const form::HintParagraph &paragraph : form::HintParagraphs()) {
        for (const std::u16string_view line : paragraph.lines)
            widest = std::max(widest, INDENT + metrics.horizontalAdvance(FromForm(line)));
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

    for (const form::HintParagraph &paragraph : form::HintParagraphs()) {
        const QString title = FromForm(paragraph.heading);
        const QRect frame(MARGIN, y, heading.horizontalAdvance(title) + 10, heading.height() + 4);
        painter.setPen(QPen(BLUE, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        painter.setFont(HeadingFont());
        painter.drawText(frame, Qt::AlignCenter, title);
        y += frame.height() + 3;

        painter.setFont(TextFont());
        painter.setPen(Qt::black);
        for (const std::u16string_view line : paragraph.lines) {
            painter.drawText(MARGIN + INDENT, y + text.ascent(), FromForm(line));
            y += text.height() + 1;
        }
        y += 6;
    }

    // The divisor formula as a real fraction, with 10 raised to the 7th.
    const QFont formulaFont = UiFont(9.75, true);
    const QFont exponentFont = UiFont(7.5, true);
    const QFontMetrics formula(formulaFont);
    const QFontMetrics exponent(exponentFont);
    const QString left = FromForm(form::FORMULA_LEFT);
    const QString numerator = FromForm(form::FORMULA_NUMERATOR);
    const QString power = FromForm(form::FORMULA_EXPONENT);
    const QString denominator = FromForm(form::FORMULA_DENOMINATOR);
    painter.setPen(BLUE);
    painter.setFont(formulaFont);
    const int barY = y + formula.height() + 2;
    int x = MARGIN + INDENT;
    painter.drawText(x, barY + formula.ascent() / 2 - 1, left);
    x += formula.horizontalAdvance(left + ' ');

    const int numeratorWidth =
        formula.horizontalAdvance(numerator) + exponent.horizontalAdvance(power);
    const int barWidth = std::max(numeratorWidth, formula.horizontalAdvance(denominator)) + 8;
    const int numeratorX = x + (barWidth - numeratorWidth) / 2;
    painter.drawText(numeratorX, barY - formula.descent() - 2, numerator);
    painter.setFont(exponentFont);
    painter.drawText(numeratorX + formula.horizontalAdvance(numerator),
                     barY - formula.descent() - 2 - formula.ascent() / 2, power);
    painter.setFont(formulaFont);
    painter.drawLine(x, barY, x + barWidth, barY);
    painter.drawText(x + (barWidth - formula.horizontalAdvance(denominator)) / 2,
                     barY + formula.ascent() + 2, denominator);
    painter.drawText(x + barWidth + 6, barY + formula.ascent() / 2 - 1,
                     FromForm(form::FORMULA_RIGHT));
}

HintWindow::HintWindow(QWidget *owner) : QWidget(owner, Qt::Window)
{
    setObjectName("HintWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(AppIcon());
    setFixedSize(FromTwips(form::HINT_CLIENT).size());
    auto *sheet = new HintSheet(this);
    sheet->setGeometry(FromTwips(form::HINT_SHEET));
}

void HintWindow::showEvent(QShowEvent *event)
{
    ShowEmptyTitle(*this);
    QWidget::showEvent(event);
}

} // namespace sg::ui
