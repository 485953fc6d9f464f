#pragma once

#include "app/window_app.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Finds the main window's controls by their names, the way a user finds them by sight.
inline QLineEdit *Box(sg::ui::MainWindow &window, const QString &name, int index = -1)
{
    for (QLineEdit *box : window.findChildren<QLineEdit *>(name)) {
        if (index < 0 || box->property("index").toInt() == index)
            return box;
    }
    return nullptr;
}

inline QPushButton *Button(sg::ui::MainWindow &window, const QString &name)
{
    return window.findChild<QPushButton *>(name);
}

// The eight parameter boxes joined, for comparing with a block in hex.
inline QString Params(sg::ui::MainWindow &window)
{
    QString joined;
    for (int i = 0; i < 8; ++i)
        joined += Box(window, "Text1", i)->text();
    return joined;
}

// Shows the window and waits until it has the focus, as a user finds it.
inline bool ShowActive(sg::app::WindowApp &app)
{
    app.show();
    return QTest::qWaitForWindowActive(&app.window());
}

// Shows the window with the COM box aimed at com.
inline sg::ui::MainWindow &ShowOnPort(sg::app::WindowApp &app, int com)
{
    app.show();
    Box(app.window(), "TXTcom")->setText(QString::number(com));
    return app.window();
}

// Waits for the transfer to end; true when it ended in order.
inline bool Idle(sg::app::WindowApp &app, int timeoutMs)
{
    (void)QTest::qWaitFor([&] { return app.station().isIdle(); }, timeoutMs);
    return app.station().isIdle() && Button(app.window(), "CMDread")->isEnabled() &&
           Button(app.window(), "CMDstore")->isEnabled();
}
