#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Dismisses every modal message box as soon as it is up, remembering what it said.
class MessageBoxCloser : public QObject
{
public:
    struct Seen
    {
        QString text;
        QString detail;
        QMessageBox::Icon icon;
        QString title;
    };
    QList<Seen> seen;

    MessageBoxCloser()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            seen.append({box->text(), box->informativeText(), box->icon(), box->windowTitle()});
            box->accept();
        });
        m_timer.start(20);
    }

private:
    QTimer m_timer;
};
