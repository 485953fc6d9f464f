#include "ui/fonts.h"
#include "ui/main_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("sgsetup");
    sg::ui::RegisterFonts();

    sg::ui::MainWindow window;
    window.show();
    return QApplication::exec();
}
