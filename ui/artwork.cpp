#include "ui/artwork.h"

namespace {
#include "ui/artwork/app_icon_16.xpm"
#include "ui/artwork/app_icon_32.xpm"
#include "ui/artwork/panel_picture.xpm"
} // namespace

namespace sg::ui {

QIcon AppIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap(app_icon_16));
    icon.addPixmap(QPixmap(app_icon_32));
    return icon;
}

QPixmap PanelPicture()
{
    return QPixmap(panel_picture);
}

} // namespace sg::ui
