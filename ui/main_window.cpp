#include "ui/main_window.h"

#include "form/form.h"
#include "form/spoken.h"
#include "ui/accessibility.h"
#include "ui/artwork.h"
#include "ui/fonts.h"
#include "ui/form_adapter.h"
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

// Rows of like controls share a name and differ by their "index" property.
void Name(QObject *object, const form::ControlRef &ref)
{
    object->setObjectName(QString::fromLatin1(ref.name.data(), qsizetype(ref.name.size())));
    if (ref.index != form::NO_INDEX)
        object->setProperty("index", ref.index);
}

Qt::Alignment AlignmentOf(form::Align align)
{
    switch (align) {
    case form::Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    case form::Align::Center:
        return Qt::AlignCenter;
    case form::Align::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

} // namespace

template <typename Widget> Widget *MainWindow::widgetOf(const form::ControlRef &ref) const
{
    const std::span<const form::Control> all = form::MainForm();
    return static_cast<Widget *>(m_widgets.at(std::size_t(&form::Find(ref) - all.data())));
}

MainWindow::MainWindow(QWidget *parent) : QWidget(parent)
{
    InstallAccessibility();
    setObjectName("MainWindow");
    setWindowTitle(FromForm(form::MAIN_TITLE));
    setWindowIcon(AppIcon());
    setFixedSize(FromTwips(form::MAIN_CLIENT).size());
    buildControls();
    buildTabOrder();
    widgetOf<QLineEdit>(form::COM_BOX)->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::bind(presenter::WindowPresenter &presenter)
{
    m_presenter = &presenter;
    connect(widgetOf<QPushButton>(form::READ_BUTTON), &QPushButton::clicked, this,
            [&presenter] { presenter.readPressed(); });
    connect(widgetOf<QPushButton>(form::STORE_BUTTON), &QPushButton::clicked, this,
            [&presenter] { presenter.storePressed(); });
    // What a box means depends on its neighbours too: the mode byte decides the divisor's.
    for (QLineEdit *box : m_paramBoxes)
        connect(box, &QLineEdit::textChanged, this, &MainWindow::describeInWords);
    describeInWords();
}

void MainWindow::describeInWords()
{
    for (QLineEdit *box : m_describedInWords)
        box->setAccessibleDescription(QString::fromStdString(m_presenter->toolTip(*refOf(box))));
}

void MainWindow::buildControls()
{
    for (const form::Control &control : form::MainForm())
        addControl(control);
    for (std::size_t i = 0; i < m_paramBoxes.size(); ++i)
        m_paramBoxes[i] = widgetOf<QLineEdit>(form::ParamBox(i));
    connect(widgetOf<QPushButton>(form::HELP_BUTTON), &QPushButton::clicked, this,
            &MainWindow::showHintWindow);

    for (const form::Control &control : form::MainForm()) {
        if (control.kind == form::Kind::Caption)
            widgetOf<QLabel>(control.ref)->setBuddy(widgetOf<QLineEdit>(control.subject));
    }
    for (const form::SpokenBox &spoken : form::SpokenBoxes()) {
        QLineEdit *box = widgetOf<QLineEdit>(spoken.box);
        box->setAccessibleName(FromForm(spoken.name));
        box->setAccessibleDescription(FromForm(spoken.description));
        if (spoken.inWords)
            m_describedInWords.push_back(box);
    }
}

void MainWindow::addControl(const form::Control &control)
{
    QWidget *widget = nullptr;
    switch (control.kind) {
    case form::Kind::Box:
        widget = addBox(control);
        break;
    case form::Kind::Caption:
    case form::Kind::Note:
    case form::Kind::Label:
        widget = new QLabel(FromForm(control.text), this);
        static_cast<QLabel *>(widget)->setAlignment(AlignmentOf(control.align));
        break;
    case form::Kind::Button:
        widget = new QPushButton(FromForm(control.text), this);
        break;
    case form::Kind::Line: {
        auto *line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        widget = line;
        break;
    }
    case form::Kind::Picture: {
        auto *picture = new QLabel(this);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        picture->setPixmap(PanelPicture());
        widget = picture;
        break;
    }
    }
    Name(widget, control.ref);
    m_widgets.push_back(widget);
    widget->setFont(UiFont(control.font));
    widget->setGeometry(FromTwips(control.twips));
}

QLineEdit *MainWindow::addBox(const form::Control &control)
{
    auto *box = new QLineEdit(FromForm(control.text), this);
    box->setMaxLength(control.maxLength);
    box->setAlignment(AlignmentOf(control.align));
    box->setTextMargins(0, 0, 0, 0);
    box->installEventFilter(this);
    if (!control.enabled) {
        box->setEnabled(false);
        box->setFocusPolicy(Qt::NoFocus);
        // It takes no input, but its value must stay as readable as its neighbours'.
        QPalette readable = box->palette();
        readable.setColor(QPalette::Disabled, QPalette::Text, QColor(0x40, 0x40, 0x40));
        box->setPalette(readable);
    }
    return box;
}

// The stops in the order the form makes them, which is the Windows window's too.
void MainWindow::buildTabOrder()
{
    QWidget *previous = nullptr;
    for (const std::size_t i : form::CreationOrder(form::MainForm())) {
        if (form::MainForm()[i].tab == form::NO_TAB)
            continue;
        if (previous)
            setTabOrder(previous, m_widgets[i]);
        previous = m_widgets[i];
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = static_cast<QLineEdit *>(watched);
    if (event->type() == QEvent::ToolTip && m_presenter) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const std::string text = m_presenter->toolTip(*refOf(box));
        QToolTip::showText(help->globalPos(), QString::fromStdString(text), box);
        return true;
    }
    if (event->type() == QEvent::FocusOut && m_presenter) {
        // Switching to another window or a popup is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_presenter->boxLeft(*refOf(box));
    }
    return QWidget::eventFilter(watched, event);
}

const form::ControlRef *MainWindow::refOf(const QWidget *widget) const
{
    const auto at = std::find(m_widgets.begin(), m_widgets.end(), widget);
    return at == m_widgets.end() ? nullptr
                                 : &form::MainForm()[std::size_t(at - m_widgets.begin())].ref;
}

HintWindow *MainWindow::hintWindow() const
{
    return m_hintWindow;
}

void MainWindow::showHintWindow()
{
    if (m_presenter)
        m_presenter->helpPressed(refOf(QApplication::focusWidget()));
    if (!m_hintWindow)
        m_hintWindow = new HintWindow(this);
    m_hintWindow->show();
    m_hintWindow->raise();
    m_hintWindow->activateWindow();
}

std::u16string MainWindow::text(const form::ControlRef &box) const
{
    return widgetOf<QLineEdit>(box)->text().toStdU16String();
}

void MainWindow::setText(const form::ControlRef &box, const std::u16string &text)
{
    widgetOf<QLineEdit>(box)->setText(QString::fromStdU16String(text));
}

void MainWindow::setEnabled(const form::ControlRef &control, bool enabled)
{
    widgetOf<QWidget>(control)->setEnabled(enabled);
}

} // namespace sg::ui
