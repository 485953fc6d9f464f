#include "ui/fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <cmath>

namespace sg::ui {

namespace {

// Only the regular face: the look-alike's "bold" file has regular-weight strokes on a wider
// advance, so it looks no bolder than the notes. Without it the rasteriser emboldens the
// regular shapes, which reads as bold. Where a real Tahoma is installed it is used as is.
const char *const TAHOMA_FILES[] = {"/usr/share/wine/fonts/tahoma.ttf"};

QString &Family()
{
    static QString family = QStringLiteral("Tahoma");
    return family;
}

} // namespace

void RegisterFonts()
{
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        return;
    for (const char *file : TAHOMA_FILES) {
        if (QFile::exists(QString::fromLatin1(file)))
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    }
    if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        Family() = QStringLiteral("DejaVu Sans Condensed");
}

QFont UiFont(double points, bool bold, bool italic)
{
    QFont font(Family());
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace sg::ui
