#include "ui/artwork.h"

#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>

namespace {
#include "artwork/panel_picture.xpm"

// Draws the icon from its one vector drawing at whatever size is asked, so it is as sharp
// in a 16 px title bar as at twice the scale.
class SvgIconEngine : public QIconEngine
{
public:
    explicit SvgIconEngine(const QString &file) : m_file(file), m_renderer(file) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        m_renderer.render(painter, rect);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, pixmap.rect(), mode, state);
        return pixmap;
    }
    QIconEngine *clone() const override { return new SvgIconEngine(m_file); }

private:
    QString m_file;
    QSvgRenderer m_renderer;
};

} // namespace

namespace sg::ui {

QIcon AppIcon()
{
    return QIcon(new SvgIconEngine(QStringLiteral(":/artwork/sgsetup.svg")));
}

QPixmap PanelPicture()
{
    return QPixmap(panel_picture);
}

} // namespace sg::ui
