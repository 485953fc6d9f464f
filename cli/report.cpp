#include "cli/report.h"

#include "model/hex_codec.h"

#include "model/param_decoder.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace sg::cli {

namespace {

using Json = nlohmann::json;

std::string JsonLine(const Json &object)
{
    // A device's or system's text that is not UTF-8 must not cost the whole line.
    return object.dump(-1, ' ', false, Json::error_handler_t::replace) + '\n';
}

Json TextOrNull(const std::string &text)
{
    return text.empty() ? Json() : Json(text);
}

// A whole number prints as one, without a fraction.
Json Number(double value)
{
    return value == std::floor(value) && std::abs(value) < 1e15 ? Json(std::llround(value))
                                                                : Json(value);
}

Json PortJson(const protocol::Port &port)
{
    return {{"com", port.number > 0 ? Json(port.number) : Json(nullptr)},
            {"device", port.device},
            {"label", port.label},
            {"description", port.description},
            {"stableName", TextOrNull(port.stableName)}};
}

std::string VerdictName(ProbeVerdict verdict)
{
    switch (verdict) {
    case ProbeVerdict::Generator:
        return "generator";
    case ProbeVerdict::Unusable:
        return "unusable";
    case ProbeVerdict::Skipped:
        return "skipped";
    case ProbeVerdict::NoAnswer:
        break;
    }
    return "no answer";
}

std::string ProbeLine(const ProbeResult &result)
{
    std::string line = protocol::DescribePort(result.port) + "  " + VerdictName(result.verdict);
    if (result.params)
        line += ", " + model::DescribeBitRate(*result.params);
    if (!result.reason.empty())
        line += " (" + result.reason + ')';
    return line + '\n';
}

std::string ProbeJson(const ProbeResult &result)
{
    Json object = PortJson(result.port);
    object["probe"] = VerdictName(result.verdict);
    object["reason"] = TextOrNull(result.reason);
    const std::optional<double> baud =
        result.params ? model::BitRateOf(*result.params) : std::nullopt;
    object["bitRate"] = baud ? Number(*baud) : Json();
    return JsonLine(object);
}

std::string Printf(const char *format, auto... values)
{
    char text[200];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

} // namespace

std::string ResultLine(const DeviceResult &result)
{
    std::string line =
        result.port.name + ' ' + (result.port.device.empty() ? "-" : result.port.device);
    if (result.outcome == Outcome::Ok)
        line += std::string(" ok") + (result.verified ? " verified" : "") + " data " + result.data +
                " params " + result.params;
    else
        line += ' ' + result.error;
    if (!result.reason.empty())
        line += " (" + result.reason + ')';
    return line + '\n';
}

std::string ResultJson(const DeviceResult &result)
{
    const bool ok = result.outcome == Outcome::Ok;
    Json object{
        {"com", result.port.number > 0 ? Json(result.port.number) : Json()},
        {"port", result.port.name},
        {"device", TextOrNull(result.port.device)},
        {"ok", ok},
        {"data", result.data},
        {"params", result.params},
        {"error", ok ? Json() : Json(result.error)},
        {"elapsedMs", result.elapsedMs},
    };
    if (!ok)
        object["reason"] = result.reason;
    if (result.outcome == Outcome::NoResponse)
        object["received"] = result.received;
    if (result.verified)
        object["verified"] = true;
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

std::string PortLines(const protocol::PortCatalog &catalog, bool json)
{
    if (!json)
        return catalog.text() + '\n';
    std::string lines;
    for (const protocol::Port &port : catalog.entries())
        lines += JsonLine(PortJson(port));
    return lines;
}

std::string ProbeLines(const std::vector<ProbeResult> &results, bool json)
{
    if (results.empty() && !json)
        return protocol::PortCatalog().text() + '\n';
    std::string lines;
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

std::string DivisorLine(double baud)
{
    const model::DivisorChoice choice = *model::DivisorFor(baud);
    const std::array<std::uint8_t, 2> bytes{static_cast<std::uint8_t>(choice.divisor >> 8),
                                            static_cast<std::uint8_t>(choice.divisor & 0xFFu)};
    const std::string nearest =
        model::HexText(bytes, " ") +
        Printf(" (divisor %u): %s baud, %+.2f%%\n", unsigned{choice.divisor},
               model::FormatBaud(choice.baud).c_str(), choice.errorPercent);
    if (choice.reachable)
        return nearest;
    return model::FormatBaud(baud) + " baud cannot be reached within " +
           Printf("%g", model::BAUD_TOLERANCE_PERCENT) + "%; the nearest is " + nearest;
}

} // namespace sg::cli
