#include "ui/main_window.h"

#include "model/normalize_fields.h"
#include "model/param_decoder.h"
#include "ui/artwork.h"
#include "ui/fonts.h"
#include "ui/hint_window.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>

#include <algorithm>

namespace sg::ui {

namespace {

constexpr int TWIPS_PER_PIXEL = 15;
constexpr QSize CLIENT_TWIPS(5025, 4635);

QRect FromTwips(QRect twips)
{
    return {twips.x() / TWIPS_PER_PIXEL, twips.y() / TWIPS_PER_PIXEL,
            twips.width() / TWIPS_PER_PIXEL, twips.height() / TWIPS_PER_PIXEL};
}

struct ParamRow
{
    QRect box;       // Text1(i)
    QString caption; // Label2(i), empty where the row above names this box too
    QRect captionRect;
    QString note; // Label3(i)
    QRect noteRect;
};

constexpr std::size_t DIVISOR_LOW = 3;

// Parameter rows 0..6 as laid out on the form, in twips. The divisor's caption and arrow
// carry index 3, though they stand beside both of its boxes.
const std::array<ParamRow, 7> &ParamRows()
{
    static const std::array<ParamRow, 7> rows{{
        {{1680, 600, 615, 360},
         "Startup delay:",
         {120, 720, 1395, 300},
         "x 4 ms, 00= no delay",
         {2520, 720, 2175, 300}},
        {{1680, 1080, 615, 360},
         "Mode:",
         {120, 1200, 1395, 300},
         "---------------------->",
         {2400, 1200, 1575, 300}},
        {{1680, 1560, 615, 360}, {}, {}, {}, {}},
        {{2400, 1560, 615, 360},
         "Baud rate:",
         {120, 1680, 1395, 300},
         "---------->",
         {3120, 1560, 735, 300}},
        {{1680, 2040, 615, 360},
         "Message delay:",
         {120, 2160, 1395, 300},
         "x 4 ms, 00= no delay",
         {2520, 2160, 2175, 300}},
        {{1680, 2520, 615, 360},
         "Byte delay:",
         {120, 2640, 1395, 300},
         "x 0.1 ms, 00= no delay",
         {2520, 2640, 2175, 300}},
        {{1680, 3000, 615, 360},
         "Repeat count:",
         {120, 3120, 1395, 300},
         "if 0x00 then infinite",
         {2520, 3120, 2175, 300}},
    }};
    return rows;
}

// What a screen reader calls a box: its caption without the colon.
QString SpokenName(const QString &caption)
{
    return QString(caption).remove('&').remove(':').trimmed();
}

// Rows of like controls share a name and differ by their "index" property.
void Name(QObject *object, const char *name, int index)
{
    object->setObjectName(QString::fromLatin1(name));
    if (index >= 0)
        object->setProperty("index", index);
}

} // namespace

MainWindow::MainWindow(const protocol::PortLister &ports, QWidget *parent)
    : QWidget(parent), m_ports(ports)
{
    setObjectName("MainWindow");
    setWindowTitle(tr("sgsetup - Signal Generator Setup"));
    setWindowIcon(AppIcon());
    setFixedSize(CLIENT_TWIPS.width() / TWIPS_PER_PIXEL, CLIENT_TWIPS.height() / TWIPS_PER_PIXEL);
    buildControls();
    buildTabOrder();
    m_comBox->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    const QFont boxFont = UiFont(9.75, true);
    const QFont captionFont = UiFont(8.25, true);
    const QFont noteFont = UiFont(8.25, false);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignTop;

    m_dataBox =
        addBox("TXTdata", -1, "0000", int(model::MAX_DATA_DIGITS), {960, 120, 2775, 360}, boxFont);
    captionBox(addLabel("Label2", 8, "DATA:", {0, 240, 795, 300}, captionFont, right), m_dataBox);
    m_paramBoxes[7] = addBox("Text1", 7, "00", 2, {4320, 120, 615, 360}, boxFont);
    captionBox(addLabel("Label3", 7, "len:", {3960, 240, 375, 300}, captionFont), m_paramBoxes[7]);
    m_paramBoxes[7]->setEnabled(false);
    m_paramBoxes[7]->setFocusPolicy(Qt::NoFocus);
    // It takes no input, but its value must stay as readable as its neighbours'.
    QPalette readable = m_paramBoxes[7]->palette();
    readable.setColor(QPalette::Disabled, QPalette::Text, QColor(0x40, 0x40, 0x40));
    m_paramBoxes[7]->setPalette(readable);

    for (std::size_t i = 0; i < ParamRows().size(); ++i) {
        const ParamRow &row = ParamRows()[i];
        const int index = static_cast<int>(i);
        m_paramBoxes[i] = addBox("Text1", index, "00", 2, row.box, boxFont);
        // The divisor's caption names its first box; both boxes then say which byte they are.
        QLineEdit *first = m_paramBoxes[i == DIVISOR_LOW ? i - 1 : i];
        if (!row.caption.isEmpty())
            captionBox(addLabel("Label2", index, row.caption, row.captionRect, captionFont, right),
                       first);
        if (!row.note.isEmpty())
            first->setAccessibleDescription(
                addLabel("Label3", index, row.note, row.noteRect, noteFont)->text());
    }
    const QString divisor = m_paramBoxes[DIVISOR_LOW - 1]->accessibleName();
    m_paramBoxes[DIVISOR_LOW - 1]->setAccessibleName(divisor + tr(", high byte"));
    m_paramBoxes[DIVISOR_LOW]->setAccessibleName(divisor + tr(", low byte"));

    QPushButton *help = addButton("Command1", tr("&Help"), {3960, 1200, 975, 615});
    connect(help, &QPushButton::clicked, this, &MainWindow::showHintWindow);

    auto *line = new QFrame(this);
    line->setObjectName("Line2");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setGeometry(FromTwips({120, 3600 - 15, 4800, 30}));

    addLabel("LBLstatus", -1, "sgsetup 1.0, 2026", {120, 3720, 1575, 255}, captionFont);
    QLabel *comCaption = addLabel("Label1", -1, "COM:", {2760, 3720, 615, 255}, boxFont);
    m_comBox = addBox("TXTcom", -1, "1", 2, {3480, 3720, 375, 285}, captionFont);
    captionBox(comCaption, m_comBox);

    m_readButton = addButton("CMDread", tr("&Read"), {3960, 3720, 975, 375});
    m_storeButton = addButton("CMDstore", tr("&Store"), {3960, 4200, 975, 375});
    connect(m_readButton, &QPushButton::clicked, this, &MainWindow::readPressed);
    connect(m_storeButton, &QPushButton::clicked, this, &MainWindow::storePressed);

    QLabel *picture = addLabel("Picture1", -1, {}, {240, 4080, 495, 615}, noteFont);
    picture->setPixmap(PanelPicture());
    addLabel("Label4", -1, "sgsetup", {720, 4080, 2175, 495}, UiFont(15.75, true, true));
}

void MainWindow::buildTabOrder()
{
    QList<QWidget *> order{m_comBox, m_dataBox};
    for (std::size_t i = 0; i < model::LENGTH_PARAM_INDEX; ++i)
        order << m_paramBoxes[i];
    order << findChild<QPushButton *>("Command1") << m_readButton << m_storeButton;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QLineEdit *MainWindow::addBox(const char *name, int index, const QString &text, int maxLength,
                              QRect twips, const QFont &font)
{
    auto *box = new QLineEdit(text, this);
    Name(box, name, index);
    box->setMaxLength(maxLength);
    box->setAlignment(Qt::AlignCenter);
    box->setFont(font);
    box->setGeometry(FromTwips(twips));
    box->setTextMargins(0, 0, 0, 0);
    box->installEventFilter(this);
    return box;
}

QLabel *MainWindow::addLabel(const char *name, int index, const QString &text, QRect twips,
                             const QFont &font, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, this);
    Name(label, name, index);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setGeometry(FromTwips(twips));
    return label;
}

void MainWindow::captionBox(QLabel *caption, QLineEdit *box)
{
    caption->setBuddy(box);
    box->setAccessibleName(SpokenName(caption->text()));
}

QPushButton *MainWindow::addButton(const char *name, const QString &text, QRect twips)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setFont(UiFont(8.25, true));
    button->setGeometry(FromTwips(twips));
    button->setAutoDefault(false);
    return button;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *box = static_cast<QLineEdit *>(watched);
        const auto *help = static_cast<QHelpEvent *>(event);
        QToolTip::showText(help->globalPos(), QString::fromStdString(toolTipOf(box)), box);
        return true;
    }
    if (watched != m_comBox && event->type() == QEvent::FocusOut) {
        // Switching to another window or a popup is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            emit entryBoxLeft();
    }
    return QWidget::eventFilter(watched, event);
}

std::string MainWindow::toolTipOf(const QLineEdit *box) const
{
    // The catalog as it is now: ports come and go while the window is open.
    if (box == m_comBox)
        return m_ports.catalog().text();
    // What the boxes mean as they stand, read without repairing them under the user's hands.
    const model::Blocks blocks = model::ReadBlocks(*this);
    if (box == m_dataBox)
        return model::ExplainData(blocks.data);
    const auto index = static_cast<std::size_t>(
        std::find(m_paramBoxes.begin(), m_paramBoxes.end(), box) - m_paramBoxes.begin());
    return model::ExplainParam(blocks.params, index);
}

HintWindow *MainWindow::hintWindow() const
{
    return m_hintWindow;
}

void MainWindow::showHintWindow()
{
    // Going to Help leaves the box, as Tab does, even when Alt+H moves no focus.
    QWidget *focus = QApplication::focusWidget();
    const bool inBlockBox =
        focus == m_dataBox ||
        std::find(m_paramBoxes.begin(), m_paramBoxes.end(), focus) != m_paramBoxes.end();
    if (inBlockBox)
        emit entryBoxLeft();
    if (!m_hintWindow)
        m_hintWindow = new HintWindow(this);
    m_hintWindow->show();
    m_hintWindow->raise();
    m_hintWindow->activateWindow();
}

std::u16string MainWindow::dataText() const
{
    return m_dataBox->text().toStdU16String();
}

void MainWindow::setDataText(const std::u16string &text)
{
    m_dataBox->setText(QString::fromStdU16String(text));
}

std::u16string MainWindow::paramText(std::size_t index) const
{
    return m_paramBoxes.at(index)->text().toStdU16String();
}

void MainWindow::setParamText(std::size_t index, const std::u16string &text)
{
    m_paramBoxes.at(index)->setText(QString::fromStdU16String(text));
}

std::u16string MainWindow::comText() const
{
    return m_comBox->text().toStdU16String();
}

void MainWindow::setReadEnabled(bool enabled)
{
    m_readButton->setEnabled(enabled);
}

void MainWindow::setStoreEnabled(bool enabled)
{
    m_storeButton->setEnabled(enabled);
}

} // namespace sg::ui
