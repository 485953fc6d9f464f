#include "cli/report.h"

#include "model/param_decoder.h"

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

QJsonObject PortJson(int com, const protocol::PortEntry &port)
{
    return {{"com", com},
            {"device", Q(port.device)},
            {"label", Q(port.label)},
            {"description", Q(port.description)}};
}

QString VerdictName(ProbeVerdict verdict)
{
    switch (verdict) {
    case ProbeVerdict::Generator:
        return "generator";
    case ProbeVerdict::Unusable:
        return "unusable";
    case ProbeVerdict::NoAnswer:
        break;
    }
    return "no answer";
}

QByteArray ProbeLine(const ProbeResult &result)
{
    QString line =
        Q(protocol::DescribePort(result.com, result.port)) + "  " + VerdictName(result.verdict);
    if (result.params)
        line += ", " + Q(model::DescribeBitRate(*result.params));
    if (!result.reason.empty())
        line += " (" + Q(result.reason) + ')';
    return line.toUtf8() + '\n';
}

QByteArray ProbeJson(const ProbeResult &result)
{
    QJsonObject object = PortJson(result.com, result.port);
    object.insert("probe", VerdictName(result.verdict));
    object.insert("reason", result.reason.empty() ? QJsonValue() : QJsonValue(Q(result.reason)));
    const std::optional<double> baud =
        result.params ? model::BitRateOf(*result.params) : std::nullopt;
    object.insert("bitRate", baud ? QJsonValue(*baud) : QJsonValue());
    return JsonLine(object);
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
    for (std::size_t i = 0; i < catalog.entries().size(); ++i)
        lines += JsonLine(PortJson(protocol::PortCatalog::numberAt(i), catalog.entries()[i]));
    return lines;
}

QByteArray ProbeLines(const std::vector<ProbeResult> &results, bool json)
{
    if (results.empty() && !json)
        return QByteArray::fromStdString(protocol::PortCatalog().text()) + '\n';
    QByteArray lines;
    for (const ProbeResult &result : results)
        lines += json ? ProbeJson(result) : ProbeLine(result);
    return lines;
}

int ProbeExitStatus(const std::vector<ProbeResult> &results)
{
    const bool found = std::any_of(results.begin(), results.end(), [](const ProbeResult &r) {
        return r.verdict == ProbeVerdict::Generator;
    });
    return found ? EXIT_ALL_OK : EXIT_NO_GENERATOR;
}

} // namespace sg::cli
