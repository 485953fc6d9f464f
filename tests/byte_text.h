#pragma once

#include "core/hex_bytes.h"

#include <QByteArray>
#include <QString>

// The plain literals in Qt's types, for the QtTest tests.
inline sg::model::ByteString FromHex(const QByteArray &hex)
{
    return Bytes(hex.toStdString());
}

inline sg::model::ParamBlock ParamsFromHex(const QByteArray &hex)
{
    return Params(hex.toStdString());
}

inline QByteArray Hex(const auto &bytes)
{
    return QByteArray::fromStdString(ToHex(bytes));
}

inline QString Text(const std::u16string &text)
{
    return QString::fromStdU16String(text);
}
