#include "app/cli_app.h"

#include "app/station.h"
#include "cli/device_job.h"
#include "cli/port_probe.h"
#include "cli/profile.h"
#include "cli/report.h"
#include "model/param_decoder.h"
#include "serial/host_ports.h"
#include "serial/qt_serial_link.h"
#include "transfer/ticker.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace sg::app {

namespace {

void Print(const QByteArray &text, std::FILE *stream = stdout)
{
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stream);
}

int RunDivisor(double baud)
{
    const model::DivisorChoice choice = *model::DivisorFor(baud);
    char text[160];
    std::snprintf(text, sizeof text, "%02X %02X (divisor %u): %s baud, %+.2f%%\n",
                  choice.divisor >> 8, choice.divisor & 0xFFu, unsigned{choice.divisor},
                  model::FormatBaud(choice.baud).c_str(), choice.errorPercent);
    if (choice.reachable) {
        Print(text);
        return cli::EXIT_ALL_OK;
    }
    Print(QByteArray::fromStdString(model::FormatBaud(baud)) + " baud cannot be reached within " +
          QByteArray::number(model::BAUD_TOLERANCE_PERCENT) + "%; the nearest is " + text);
    return cli::EXIT_OUT_OF_REACH;
}

struct PortRun
{
    std::unique_ptr<serial::QtSerialLink> link;
    std::unique_ptr<cli::PortProbe> probe; // declared last: closes the link before it goes
};

// Every port at once, so the whole probe takes one tick however many ports there are.
int RunProbe(bool json)
{
    const protocol::PortCatalog catalog = serial::ScanHostPorts();
    std::vector<PortRun> runs;
    bool waiting = false;
    for (std::size_t i = 0; i < catalog.entries().size(); ++i) {
        auto link = std::make_unique<serial::QtSerialLink>();
        auto probe = std::make_unique<cli::PortProbe>(protocol::PortCatalog::numberAt(i),
                                                      catalog.entries()[i], *link);
        waiting = probe->start() || waiting;
        runs.push_back({std::move(link), std::move(probe)});
    }
    if (waiting) {
        QTimer::singleShot(transfer::TICK_MS, QCoreApplication::quit);
        QCoreApplication::exec();
    }
    std::vector<cli::ProbeResult> results;
    for (const PortRun &run : runs)
        results.push_back(run.probe->finish());
    Print(cli::ProbeLines(results, json));
    return cli::ProbeExitStatus(results);
}

struct DeviceRun
{
    std::unique_ptr<cli::DeviceJob> job;
    std::unique_ptr<Station> station;
};

int RunTransfers(const cli::Command &command)
{
    const protocol::FixedPortLister ports(serial::ScanHostPorts());
    const protocol::PortCatalog catalog = ports.catalog();
    std::vector<DeviceRun> runs;
    std::size_t running = command.coms.size();
    for (const int com : command.coms) {
        const std::optional<protocol::PortEntry> entry = catalog.find(com);
        auto job = std::make_unique<cli::DeviceJob>(com, entry ? entry->device : std::string());
        auto station = std::make_unique<Station>(ports, *job, *job);
        QObject::connect(job.get(), &cli::DeviceJob::finished, job.get(), [&running] {
            if (--running == 0)
                QCoreApplication::quit();
        });
        runs.push_back({std::move(job), std::move(station)});
    }
    for (DeviceRun &run : runs) {
        if (command.verb == cli::Verb::Read)
            run.job->startRead(run.station->controller());
        else
            run.job->startStore(run.station->controller(), command.blocks, command.verify);
    }
    QCoreApplication::exec();

    std::vector<cli::DeviceResult> results;
    for (const DeviceRun &run : runs) {
        results.push_back(run.job->result());
        Print(command.json ? cli::ResultJson(results.back()) : cli::ResultLine(results.back()));
    }
    const cli::DeviceResult &first = results.front();
    if (!command.savePath.isEmpty() && first.outcome == cli::Outcome::Ok) {
        QString error;
        if (!cli::SaveProfile(command.savePath, first.data, first.params, error)) {
            Print("sgsetup-cli: " + error.toUtf8() + '\n', stderr);
            return cli::EXIT_USAGE;
        }
    }
    return cli::ExitStatus(results);
}

} // namespace

int RunCommand(const cli::Command &command)
{
    switch (command.verb) {
    case cli::Verb::Help:
        Print(cli::UsageText().toUtf8());
        return cli::EXIT_ALL_OK;
    case cli::Verb::Version:
        Print("sgsetup-cli " + QCoreApplication::applicationVersion().toUtf8() + "\nMIT License\n");
        return cli::EXIT_ALL_OK;
    case cli::Verb::Ports:
        if (command.probe)
            return RunProbe(command.json);
        Print(cli::PortLines(serial::ScanHostPorts(), command.json));
        return cli::EXIT_ALL_OK;
    case cli::Verb::Decode:
        Print(QByteArray::fromStdString(model::ExplainParams(command.blocks.params)));
        return cli::EXIT_ALL_OK;
    case cli::Verb::Divisor:
        return RunDivisor(command.baud);
    case cli::Verb::Read:
    case cli::Verb::Store:
        break;
    }
    return RunTransfers(command);
}

} // namespace sg::app
