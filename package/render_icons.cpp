// Renders the tool's icon into DIR/SIZE/sgsetup.png for each SIZE, for the icon theme.

#include "ui/artwork.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 3) {
        std::fputs("usage: sg_render_icons DIR SIZE...\n", stderr);
        return 64;
    }
    const QIcon icon = sg::ui::AppIcon();
    for (const QString &size : arguments.mid(2)) {
        const QString folder = arguments[1] + '/' + size;
        const int pixels = size.toInt();
        if (pixels <= 0 || !QDir().mkpath(folder) ||
            !icon.pixmap(pixels, pixels).save(folder + "/sgsetup.png")) {
            std::fprintf(stderr, "sg_render_icons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
