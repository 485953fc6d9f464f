#include "app/window_app.h"
#include "ui/fonts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("sgsetup");
    sg::ui::RegisterFonts();

    sg::app::WindowApp sgsetup;
    sgsetup.show();
    return QApplication::exec();
}
