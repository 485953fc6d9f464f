#include "cli/report.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace sg::cli {

namespace {

QString Q(const std::string &text)
{
    return QString::fromStdString(text);
}

QByteArray JsonLine(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace

QByteArray ResultLine(const DeviceResult &result)
{
    QByteArray line = "COM" + QByteArray::number(result.com) + ' ' +
                      QByteArray::fromStdString(result.device.empty() ? "-" : result.device);
    if (result.outcome == Outcome::Ok)
        line += " ok" + QByteArray(result.verified ? " verified" : "") + " data " +
                QByteArray::fromStdString(result.data) + " params " +
                QByteArray::fromStdString(result.params);
    else
        line += ' ' + QByteArray::fromStdString(result.error);
    if (!result.reason.empty())
        line += " (" + QByteArray::fromStdString(result.reason) + ')';
    return line + '\n';
}

QByteArray ResultJson(const DeviceResult &result)
{
    const bool ok = result.outcome == Outcome::Ok;
    QJsonObject object{
        {"com", result.com},
        {"device", result.device.empty() ? QJsonValue() : QJsonValue(Q(result.device))},
        {"ok", ok},
        {"data", Q(result.data)},
        {"params", Q(result.params)},
        {"error", ok ? QJsonValue() : QJsonValue(Q(result.error))},
    };
    if (!ok)
        object.insert("reason", Q(result.reason));
    if (result.verified)
        object.insert("verified", true);
    return JsonLine(object);
}

int ExitStatus(const std::vector<DeviceResult> &results)
{
    const auto any = [&results](Outcome outcome) {
        return std::any_of(results.begin(), results.end(),
                           [outcome](const DeviceResult &r) { return r.outcome == outcome; });
    };
    if (any(Outcome::PortUnusable))
        return EXIT_PORT_UNUSABLE;
    if (any(Outcome::NoResponse))
        return EXIT_NO_RESPONSE;
    return any(Outcome::Mismatch) ? EXIT_MISMATCH : EXIT_ALL_OK;
}

QByteArray PortLines(const protocol::PortCatalog &catalog, bool json)
{
    if (!json)
        return QByteArray::fromStdString(catalog.text()) + '\n';
    QByteArray lines;
    for (std::size_t i = 0; i < catalog.entries().size(); ++i) {
        const protocol::PortEntry &port = catalog.entries()[i];
        lines += JsonLine({{"com", protocol::PortCatalog::numberAt(i)},
                           {"device", Q(port.device)},
                           {"label", Q(port.label)},
                           {"description", Q(port.description)}});
    }
    return lines;
}

} // namespace sg::cli
