#include "app/window_app.h"
#include "ui/fonts.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

// The same widgets as the main window, with nothing behind them.
class BareWindow : public QWidget
{
public:
    BareWindow()
    {
        for (int i = 0; i < 10; ++i)
            new QLineEdit(QStringLiteral("00"), this);
        for (int i = 0; i < 18; ++i)
            new QLabel(QStringLiteral("caption"), this);
        for (int i = 0; i < 3; ++i)
            new QPushButton(QStringLiteral("&Button"), this);
        setFixedSize(335, 309);
    }
};

QWidget &WindowOf(QWidget &window)
{
    return window;
}

QWidget &WindowOf(sg::app::WindowApp &app)
{
    return app.window();
}

template <typename Make> double MedianShowMs(Make make)
{
    std::vector<double> times;
    for (int round = 0; round < 7; ++round) {
        QElapsedTimer clock;
        clock.start();
        auto made = make();
        QWidget &window = WindowOf(*made);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return 1e9;
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        made.reset();
        QCoreApplication::processEvents();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

class TestStartupBudget : public QObject
{
    Q_OBJECT

private slots:
    void windowAppearsAlmostAsFastAsABareOne()
    {
        const auto bareWindow = [] { return std::make_unique<BareWindow>(); };
        MedianShowMs(bareWindow); // warm up the style and fonts
        const double bare = MedianShowMs(bareWindow);
        const double tool = MedianShowMs([] {
            sg::ui::RegisterFonts();
            return std::make_unique<sg::app::WindowApp>();
        });
        qInfo("bare window %.2f ms, sgsetup window %.2f ms, ratio %.2f", bare, tool, tool / bare);
        QVERIFY(tool <= 1.5 * bare + 2.0);
    }
};

QTEST_MAIN(TestStartupBudget)
#include "test_startup_budget.moc"
