#pragma once

#include "form/form.h"
#include "model/blocks.h"
#include "presenter/window_presenter.h"
#include "presenter/window_view.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <string>
#include <vector>

class QLineEdit;

namespace sg::ui {

class HintWindow;

// The tool's working window: the boxes and buttons a transfer reads and writes. It only
// hands the widgets' events to the presenter it is bound to.
class MainWindow : public QWidget, public presenter::WindowView
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void bind(presenter::WindowPresenter &presenter);

    // presenter::WindowView
    std::u16string text(const form::ControlRef &box) const override;
    void setText(const form::ControlRef &box, const std::u16string &text) override;
    void setEnabled(const form::ControlRef &control, bool enabled) override;

    HintWindow *hintWindow() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void addControl(const form::Control &control);
    QLineEdit *addBox(const form::Control &control);
    void describeInWords();
    void buildTabOrder();
    template <typename Widget> Widget *widgetOf(const form::ControlRef &ref) const;
    void showHintWindow();
    const form::ControlRef *refOf(const QWidget *widget) const;

    std::array<QLineEdit *, model::PARAM_COUNT> m_paramBoxes{};
    QPointer<HintWindow> m_hintWindow;
    std::vector<QWidget *> m_widgets;            // one for each row of the form, in its order
    std::vector<QLineEdit *> m_describedInWords; // whose note is only an arrow
    presenter::WindowPresenter *m_presenter = nullptr;
};

} // namespace sg::ui
