#include "cli/run_command.h"

#include "cli/device_job.h"
#include "cli/port_probe.h"
#include "cli/profile.h"
#include "cli/report.h"
#include "cli/tracing_link.h"
#include "model/param_decoder.h"
#include "remote/remote_address.h"
#include "transfer/transfer_engine.h"

#include <memory>

namespace sg::cli {

namespace {

void Print(World &world, const std::string &text)
{
    world.write(World::Stream::Out, text);
}

void PrintError(World &world, const std::string &text)
{
    world.write(World::Stream::Err, text);
}

int Interrupted(World &world)
{
    PrintError(world, "sgsetup-cli: interrupted; every port is closed\n");
    return EXIT_INTERRUPTED;
}

struct ProbeRun
{
    std::unique_ptr<protocol::SerialLink> link;
    std::unique_ptr<PortProbe> probe; // declared last: closes the link before it goes
};

// The ports a probe asks: those named, as named, else every listed one.
std::vector<protocol::Resolved> ProbeTargets(const Command &command,
                                             const protocol::PortCatalog &catalog, World &world)
{
    std::vector<protocol::Resolved> targets;
    for (const protocol::Port &listed :
         command.ports.empty() ? catalog.entries() : std::vector<protocol::Port>())
        targets.push_back({listed});
    for (const protocol::PortChoice &choice : command.ports) {
        // Named, a port is probed whatever the catalog says of it; one not there is unusable.
        targets.push_back(protocol::ResolvePort(choice, catalog, world.systemName()));
        targets.back().port.notProbed.clear();
    }
    return targets;
}

// Every port at once, so the whole probe takes one tick however many ports there are.
// The world's link, traced on stderr when asked.
std::unique_ptr<protocol::SerialLink> NewLink(const Command &command, World &world)
{
    static const TracingLink::Clock::time_point start = TracingLink::Clock::now();
    if (!command.trace)
        return world.makeLink();
    return std::make_unique<TracingLink>(
        world.makeLink(), start,
        [&world](const std::string &line) { world.write(World::Stream::Err, line); });
}

// The notes go to stderr where stdout must stay JSON.
int RunPorts(const Command &command, World &world)
{
    const protocol::PortCatalog catalog = world.ports();
    Print(world, PortLines(catalog, command.json));
    for (const std::string &note : command.json ? catalog.notes() : std::vector<std::string>())
        PrintError(world, "sgsetup-cli: " + note + '\n');
    return EXIT_ALL_OK;
}

int RunProbe(const Command &command, World &world)
{
    const bool json = command.json;
    std::vector<ProbeRun> runs;
    std::size_t waiting = 0;
    const auto probed = [&waiting, &world] {
        if (--waiting == 0)
            world.loop().stop();
    };
    for (protocol::Resolved &target : ProbeTargets(command, world.ports(), world)) {
        std::unique_ptr<protocol::SerialLink> link = NewLink(command, world);
        auto probe = std::make_unique<PortProbe>(std::move(target), *link, world.loop(), probed);
        if (command.fast)
            probe->endWhenAnswered();
        if (probe->start())
            ++waiting;
        runs.push_back({std::move(link), std::move(probe)});
    }
    if (waiting > 0 && !world.loop().run()) {
        runs.clear(); // each closes its port
        return Interrupted(world);
    }
    std::vector<ProbeResult> results;
    for (const ProbeRun &run : runs)
        results.push_back(run.probe->finish());
    Print(world, ProbeLines(results, json));
    return ProbeExitStatus(results);
}

// How long the line must stay quiet after a complete reply before --fast takes the step:
// long enough for a stray byte to show. A character takes 1 ms at 9600 baud, but a USB
// adapter hands bytes on every 16 ms, and a network in chunks a round trip apart.
int GuardMs(const protocol::Port &port)
{
    return remote::IsRemoteAddress(port.device) ? 50 : 20;
}

// One device's own link, ticker and engine, and the job that runs them.
struct DeviceRun
{
    DeviceRun(World &world, std::unique_ptr<protocol::SerialLink> serial, protocol::Resolved target,
              std::function<void()> onFinished)
        : link(std::move(serial)),
          ticker(world.makeTicker(transfer::TICK_MS, [this] { engine.tick(); })),
          engine(*link, *ticker),
          job(std::move(target), engine, world.loop(), std::move(onFinished))
    {
    }

    std::unique_ptr<protocol::SerialLink> link;
    std::unique_ptr<transfer::Ticker> ticker;
    transfer::TransferEngine engine;
    DeviceJob job;
};

// Each choice's port, or none when two choices reach the same one (said on stderr).
std::optional<std::vector<protocol::Resolved>> ResolveTargets(const Command &command, World &world)
{
    const protocol::PortCatalog catalog = world.ports();
    std::vector<protocol::Resolved> targets;
    for (const protocol::PortChoice &choice : command.ports) {
        targets.push_back(protocol::ResolvePort(choice, catalog, world.systemName()));
        const protocol::Port &last = targets.back().port;
        for (std::size_t i = 0; i + 1 < targets.size(); ++i) {
            const protocol::Port &earlier = targets[i].port;
            if (!earlier.device.empty() && earlier.device == last.device) {
                PrintError(world, "sgsetup-cli: COM: " + earlier.name + " and " + last.name +
                                      " are the same port\n");
                return std::nullopt;
            }
        }
    }
    return targets;
}

// One line per device, then the profile a single read saves.
int Report(const Command &command, World &world, const std::vector<DeviceResult> &results)
{
    for (const DeviceResult &result : results)
        Print(world, command.json ? ResultJson(result) : ResultLine(result));
    const DeviceResult &first = results.front();
    if (!command.savePath.empty() && first.outcome == Outcome::Ok) {
        std::string error;
        if (!SaveProfile(command.savePath, first.data, first.params, error)) {
            PrintError(world, "sgsetup-cli: " + error + '\n');
            return EXIT_USAGE;
        }
    }
    return ExitStatus(results);
}

int RunTransfers(const Command &command, World &world)
{
    const std::optional<std::vector<protocol::Resolved>> targets = ResolveTargets(command, world);
    if (!targets)
        return EXIT_USAGE;
    std::vector<std::unique_ptr<DeviceRun>> runs;
    std::size_t running = targets->size();
    for (const protocol::Resolved &target : *targets) {
        runs.push_back(
            std::make_unique<DeviceRun>(world, NewLink(command, world), target, [&running, &world] {
                if (--running == 0)
                    world.loop().stop();
            }));
        if (command.fast)
            runs.back()->engine.runStepsEarly(
                {.guardMs = GuardMs(target.port), .settleMs = command.settleMs}, world.tickers());
    }
    for (const std::unique_ptr<DeviceRun> &run : runs) {
        if (command.verb == Verb::Read)
            run->job.startRead();
        else
            run->job.startStore(command.blocks, command.verify);
    }
    // Every device may have ended already, from inside its start.
    if (running > 0 && !world.loop().run()) {
        runs.clear(); // each closes its port
        return Interrupted(world);
    }
    std::vector<DeviceResult> results;
    for (const std::unique_ptr<DeviceRun> &run : runs)
        results.push_back(run->job.result());
    return Report(command, world, results);
}

} // namespace

int RunCommand(const Command &command, World &world)
{
    switch (command.verb) {
    case Verb::Help:
        Print(world, UsageText());
        return EXIT_ALL_OK;
    case Verb::Version:
        Print(world, "sgsetup-cli " SG_VERSION "\nMIT License\n");
        return EXIT_ALL_OK;
    case Verb::Ports:
        if (command.probe)
            return RunProbe(command, world);
        return RunPorts(command, world);
    case Verb::Decode:
        Print(world, model::ExplainParams(command.blocks.params));
        return EXIT_ALL_OK;
    case Verb::Divisor: {
        const std::string line = DivisorLine(command.baud);
        Print(world, line);
        return model::DivisorFor(command.baud)->reachable ? EXIT_ALL_OK : EXIT_OUT_OF_REACH;
    }
    case Verb::Read:
    case Verb::Store:
        break;
    }
    return RunTransfers(command, world);
}

} // namespace sg::cli
