#include "ui/hint_window.h"

#include "form/hint_layout.h"
#include "form/hint_sheet.h"
#include "ui/artwork.h"
#include "ui/empty_title.h"
#include "ui/fonts.h"
#include "ui/form_adapter.h"

#include <QPainter>

namespace sg::ui {

namespace {

class QtMeasure : public form::TextMeasure
{
public:
    int width(std::u16string_view text, const form::Font &font) const override
    {
        return QFontMetrics(UiFont(font)).horizontalAdvance(FromForm(text));
    }
    Metrics metrics(const form::Font &font) const override
    {
        const QFontMetrics metrics(UiFont(font));
        return {metrics.height(), metrics.ascent(), metrics.descent()};
    }
};

} // namespace

HintSheet::HintSheet(QWidget *parent) : QWidget(parent)
{
    setObjectName(QLatin1String(form::HINT_SHEET_NAME));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, FromForm(form::PAPER_COLOUR));
    setPalette(white);
}

form::HintLayout HintSheet::layout() const
{
    return form::LayOutHintSheet(QtMeasure(), width());
}

void HintSheet::paintEvent(QPaintEvent *)
{
    const form::HintLayout layout = this->layout();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor blue = FromForm(form::BLUE_COLOUR);
    painter.setPen(QPen(blue, layout.penWidth));
    painter.setBrush(Qt::NoBrush);
    for (const form::FrameRun &frame : layout.frames)
        painter.drawRoundedRect(
            QRectF(frame.x, frame.y, frame.width, frame.height).adjusted(0.5, 0.5, -0.5, -0.5),
            frame.radius, frame.radius);
    painter.drawLine(layout.barLeft, layout.barY, layout.barRight, layout.barY);
    for (const form::TextRun &run : layout.texts) {
        painter.setPen(run.ink == form::Ink::Blue ? blue : FromForm(form::TEXT_COLOUR));
        painter.setFont(UiFont(run.font));
        painter.drawText(run.x, run.baseline, FromForm(run.text));
    }
}

HintWindow::HintWindow(QWidget *owner) : QWidget(owner, Qt::Window)
{
    setObjectName("HintWindow");
    setAccessibleName(FromForm(form::HINT_NAME));
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
