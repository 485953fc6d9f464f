#include "cli/run_command.h"

#include "cli/device_job.h"
#include "cli/port_probe.h"
#include "cli/profile.h"
#include "cli/report.h"
#include "cli/tracing_link.h"
#include "model/param_decoder.h"
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
std::vector<std::pair<int, protocol::PortEntry>>
ProbeTargets(const Command &command, const protocol::PortCatalog &catalog, World &world)
{
    std::vector<std::pair<int, protocol::PortEntry>> targets;
    for (const PortChoice &choice : command.ports) {
        const PortTarget target = ResolvePort(choice, catalog, world);
        const std::string missing =
            target.device.empty() ? protocol::MissingPortText(target.name, catalog) : "";
        targets.push_back(
            {target.com.value_or(0), {target.name, target.device, {}, {}, 0, missing}});
    }
    for (std::size_t i = 0; command.ports.empty() && i < catalog.entries().size(); ++i)
        targets.push_back({catalog.numberAt(i), catalog.entries()[i]});
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
    bool waiting = false;
    for (auto &[com, port] : ProbeTargets(command, world.ports(), world)) {
        std::unique_ptr<protocol::SerialLink> link = NewLink(command, world);
        auto probe = std::make_unique<PortProbe>(com, std::move(port), *link);
        waiting = probe->start() || waiting;
        runs.push_back({std::move(link), std::move(probe)});
    }
    if (waiting) {
        world.loop().callAfter(transfer::TICK_MS, [&world] { world.loop().stop(); });
        if (!world.loop().run()) {
            runs.clear(); // each closes its port
            return Interrupted(world);
        }
    }
    std::vector<ProbeResult> results;
    for (const ProbeRun &run : runs)
        results.push_back(run.probe->finish());
    Print(world, ProbeLines(results, json));
    return ProbeExitStatus(results);
}

// What a transfer starts on: the port, or why the number reaches none.
protocol::ResolvedPort Resolved(const PortTarget &target, const protocol::PortCatalog &catalog)
{
    if (target.device.empty())
        return {target.name, {}, protocol::MissingPortText(target.name, catalog)};
    return {target.name, target.device, {}};
}

// One device's own link, ticker and engine, and the job that runs them.
struct DeviceRun
{
    DeviceRun(World &world, std::unique_ptr<protocol::SerialLink> serial, const PortTarget &target,
              const protocol::PortCatalog &catalog, std::function<void()> onFinished)
        : link(std::move(serial)), ticker(world.makeTicker([this] { engine.tick(); })),
          engine(*link, *ticker),
          job(target, Resolved(target, catalog), engine, world.loop(), std::move(onFinished))
    {
    }

    std::unique_ptr<protocol::SerialLink> link;
    std::unique_ptr<transfer::Ticker> ticker;
    transfer::TransferEngine engine;
    DeviceJob job;
};

int RunTransfers(const Command &command, World &world)
{
    const protocol::PortCatalog catalog = world.ports();
    std::vector<PortTarget> targets;
    for (const PortChoice &choice : command.ports) {
        targets.push_back(ResolvePort(choice, catalog, world));
        for (std::size_t i = 0; i + 1 < targets.size(); ++i) {
            if (!targets[i].device.empty() && targets[i].device == targets.back().device) {
                PrintError(world, "sgsetup-cli: COM: " + targets[i].name + " and " +
                                      targets.back().name + " are the same port\n");
                return EXIT_USAGE;
            }
        }
    }
    std::vector<std::unique_ptr<DeviceRun>> runs;
    std::size_t running = targets.size();
    for (const PortTarget &target : targets) {
        runs.push_back(std::make_unique<DeviceRun>(world, NewLink(command, world), target, catalog,
                                                   [&running, &world] {
                                                       if (--running == 0)
                                                           world.loop().stop();
                                                   }));
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
    for (const std::unique_ptr<DeviceRun> &run : runs) {
        results.push_back(run->job.result());
        Print(world, command.json ? ResultJson(results.back()) : ResultLine(results.back()));
    }
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
