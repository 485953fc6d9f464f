#include "qtcore/qt_event_loop.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

#include <csignal>

class TestQtEventLoop : public QObject
{
    Q_OBJECT

private slots:
    // A loop gives back what it took: its signal pipe, and Ctrl+C to its default.
    void endsWithoutTrace()
    {
        const auto openFiles = [] {
            return QDir("/proc/self/fd").entryList(QDir::System | QDir::NoDotAndDotDot).size();
        };
        const auto onSigint = [] {
            struct sigaction now;
            sigaction(SIGINT, nullptr, &now);
            return now.sa_handler;
        };
        const qsizetype before = openFiles();
        {
            sg::qtcore::QtEventLoop loop;
            QCOMPARE(openFiles(), before + 2);
            QVERIFY(onSigint() != SIG_DFL);
        }
        QCOMPARE(openFiles(), before);
        QVERIFY(onSigint() == SIG_DFL);
    }
};

QTEST_GUILESS_MAIN(TestQtEventLoop)
#include "test_qt_event_loop.moc"
