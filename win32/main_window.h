#pragma once

#include "form/form.h"
#include "form/spoken.h"
#include "presenter/window_presenter.h"
#include "presenter/window_view.h"
#include "win32/accessible_annotation.h"
#include "win32/base_window.h"
#include "win32/dpi.h"
#include "win32/hint_window.h"
#include "win32/message_loop.h"
#include "win32/panel_picture.h"
#include "win32/unique_handle.h"

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sg::win32 {

// The tool's working window, built from the form: the boxes and buttons a transfer reads
// and writes. It only hands the controls' notifications to the presenter it is bound to.
class MainWindow : public presenter::WindowView, public BaseWindow<MainWindow>
{
public:
    MainWindow(MessageLoop &loop, AccPropApi &annotations);
    ~MainWindow() override;

    void show();
    void bind(presenter::WindowPresenter &presenter);

    // presenter::WindowView
    std::u16string text(const form::ControlRef &box) const override;
    void setText(const form::ControlRef &box, const std::u16string &text) override;
    void setEnabled(const form::ControlRef &control, bool enabled) override;

    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void dpiChanged(UINT dpi);

private:
    void onCreate();
    void onCommand(int id, int code);
    LRESULT onNotify(NMHDR &header);
    void onPaint();
    void onActivate(bool active);
    void onBoxLeft(int id);
    void onDestroy();

    void createControls();
    void createToolTips();
    void layout(UINT dpi);
    RECT fitted(const form::Control &control, RECT at);
    HWND control(const form::ControlRef &ref) const;
    const form::ControlRef *refOf(HWND window) const;
    void showHint();
    void speak();

    MessageLoop &m_loop;
    AccPropApi &m_annotations;
    presenter::WindowPresenter *m_presenter = nullptr;
    HWND m_toolTip = nullptr;
    HWND m_lastFocus = nullptr;
    std::vector<HWND> m_controls; // one for each row of the form; null where it is painted
    UINT m_dpi = BASE_DPI;
    FontCache m_fonts{BASE_DPI};
    std::wstring m_toolTipText;
    PanelPicture m_picture;
    HintWindow m_hint;
    std::vector<std::unique_ptr<AccessibleAnnotation>> m_spoken; // one per box
};

// What a screen reader is told of a box: its name, and as help its note, or, for a box
// described in words, inWords (its tooltip's text).
Annotation BoxAnnotation(const form::SpokenBox &spoken, const std::string &inWords);

} // namespace sg::win32
