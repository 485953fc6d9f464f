#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace sg::ui {

struct HintParagraph
{
    QString heading;
    QStringList lines;
};

// The reference behind the Help button: the bits of the mode byte.
inline std::vector<HintParagraph> HintParagraphs()
{
    return {
        {"BIT 0:",
         {"xxxxxxx0 - fixed baud rates only, set by JUMPER (open = 8192 baud, closed = 16384 "
          "baud, 1 start bit, 1 stop bit, no parity, no inversion)",
          "xxxxxxx1 - baud rates defined by BRR"}},
        {"BIT 1:",
         {"xxxxxx0x - output is not inverted (1= LOW level on line, 0= HIGH level, idle = HIGH "
          "level)",
          "xxxxxx1x - output is inverted (1= HIGH level on line, 0= LOW level, idle = LOW level)",
          QString::fromUtf8("when using \u201cinverted\u201d mode take some attention that there "
                            "is a HIGH level on line until MCU powers up (some tens of "
                            "miliseconds)")}},
        {"BITS 2, 3, 4:",
         {"xxxxx1xx - parity ODD", "xxxx1xxx - parity EVEN", "xxx1xxxx - two stop bits"}},
        {"BIT 5:", {"xx1xxxxx - no start and no stop bits used"}},
    };
}

// The divisor formula: BRR = (1 * 10^7) / (16 * baud) - 1.
inline const QString FORMULA_LEFT = QStringLiteral("BRR =");
inline const QString FORMULA_NUMERATOR = QStringLiteral("1 * 10");
inline const QString FORMULA_EXPONENT = QStringLiteral("7");
inline const QString FORMULA_DENOMINATOR = QStringLiteral("16 * baud");
inline const QString FORMULA_RIGHT = QStringLiteral("- 1");

} // namespace sg::ui
