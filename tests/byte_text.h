#pragma once

#include "model/blocks.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <string>

// Conversions that let tests write bytes and box texts as literals.
inline sg::model::ByteString FromHex(const QByteArray &hex)
{
    const QByteArray raw = QByteArray::fromHex(hex);
    return sg::model::ByteString(raw.begin(), raw.end());
}

inline sg::model::ParamBlock ParamsFromHex(const QByteArray &hex)
{
    sg::model::ParamBlock params{};
    const sg::model::ByteString bytes = FromHex(hex);
    std::copy(bytes.begin(), bytes.end(), params.begin());
    return params;
}

inline QByteArray Hex(const auto &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()))
        .toHex()
        .toUpper();
}

inline QString Text(const std::u16string &text)
{
    return QString::fromStdU16String(text);
}
