#include "ui/accessibility.h"

#include "form/hint_sheet.h"
#include "ui/form_adapter.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace sg::ui {

namespace {

// The painted sheet as read-only text: its lines in reading order, the formula in words.
class SheetAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit SheetAccessible(QWidget *sheet)
        : QAccessibleWidget(sheet, QAccessible::StaticText), m_text(FromForm(form::HintSheetText()))
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? m_text : QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // QAccessibleTextInterface: nothing to select, no caret, no place on screen per letter.
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return m_text.mid(start, end - start); }
    int characterCount() const override { return int(m_text.size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    QString m_text;
};

QAccessibleInterface *Create(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("sg::ui::MainWindow") ||
        className == QLatin1String("sg::ui::HintWindow"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == QLatin1String("sg::ui::HintSheet"))
        return new SheetAccessible(widget);
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static const bool installed = (QAccessible::installFactory(&Create), true);
    (void)installed;
}

} // namespace sg::ui
