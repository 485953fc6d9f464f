#include "cli/profile.h"

#include "model/strict_hex.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace sg::cli {

namespace {

const QString DATA_KEY = "data";
const QString PARAMS_KEY = "params";

qsizetype LineAt(const QByteArray &text, qsizetype offset)
{
    return text.left(offset).count('\n') + 1;
}

// Where a key is written, so that an error about its value points at it.
qsizetype LineOfKey(const QByteArray &text, const QString &key)
{
    const qsizetype at = text.indexOf('"' + key.toUtf8() + '"');
    return LineAt(text, at < 0 ? 0 : at);
}

} // namespace

std::optional<model::Blocks> LoadProfile(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + ": " + file.errorString();
        return std::nullopt;
    }
    const QByteArray text = file.readAll();
    const auto fail = [&](qsizetype line, const QString &message) {
        error = path + ":" + QString::number(line) + ": " + message;
        return std::nullopt;
    };

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return fail(LineAt(text, parseError.offset), parseError.errorString());
    if (!document.isObject())
        return fail(1, "expected an object {\"data\": \"...\", \"params\": \"...\"}");
    const QJsonObject object = document.object();
    for (const QString &key : object.keys()) {
        if (key != DATA_KEY && key != PARAMS_KEY)
            return fail(LineOfKey(text, key), "unknown key \"" + key + "\"");
    }
    for (const QString &key : {DATA_KEY, PARAMS_KEY}) {
        if (!object.value(key).isString())
            return fail(object.contains(key) ? LineOfKey(text, key) : 1,
                        "\"" + key + "\" must be a string of hex digits");
    }

    std::string reason;
    model::Blocks blocks;
    const std::optional<model::DataBlock> data =
        model::ParseStrictData(object.value(DATA_KEY).toString().toStdString(), reason);
    if (!data)
        return fail(LineOfKey(text, DATA_KEY), "data: " + QString::fromStdString(reason));
    const std::optional<model::ByteString> given =
        model::ParseStrictParamBytes(object.value(PARAMS_KEY).toString().toStdString(), reason);
    const std::optional<model::ParamBlock> params =
        given ? model::CompleteParams(*given, data->size(), reason) : std::nullopt;
    if (!params)
        return fail(LineOfKey(text, PARAMS_KEY), "params: " + QString::fromStdString(reason));
    blocks.data = *data;
    blocks.params = *params;
    return blocks;
}

bool SaveProfile(const QString &path, const std::string &data, const std::string &params,
                 QString &error)
{
    const QJsonObject object{{DATA_KEY, QString::fromStdString(data)},
                             {PARAMS_KEY, QString::fromStdString(params)}};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(object).toJson(QJsonDocument::Indented)) < 0 || !file.commit()) {
        error = path + ": " + file.errorString();
        return false;
    }
    return true;
}

} // namespace sg::cli
