// sgsim: the signal generator on a pseudo-terminal, for working without hardware.

#include "sim/host_port_count.h"
#include "sim/port_registration.h"
#include "sim/pseudo_terminal.h"
#include "sim/sim_loop.h"
#include "sim/sim_options.h"
#include "simdir/simulator_ports.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

int g_stopPipe[2] = {-1, -1};

void RequestStop(int)
{
    const char byte = 0;
    [[maybe_unused]] const ssize_t ignored = write(g_stopPipe[1], &byte, 1);
}

// A signal asks the loop to stop through the pipe, so that it ends as on any other exit and
// the registration goes with it.
bool CatchStopSignals()
{
    if (pipe2(g_stopPipe, O_CLOEXEC) != 0) {
        std::perror("sgsim: pipe");
        return false;
    }
    struct sigaction action
    {
    };
    action.sa_handler = RequestStop;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    return true;
}

// Opens the line, registers it under a COM number and answers on it until asked to stop.
int Serve(const sg::sim::SimOptions &options)
{
    sg::sim::PseudoTerminal line;
    if (!line.ok()) {
        std::fprintf(stderr, "sgsim: %s\n", line.error().c_str());
        return 1;
    }
    const std::string name = "sgsim-" + std::to_string(getpid());
    const std::filesystem::path dir = sg::simdir::SimulatorPortDir();
    sg::sim::PortRegistration registration(dir, name, line.devicePath());
    if (!registration.ok()) {
        std::fprintf(stderr, "sgsim: %s\n", registration.error().c_str());
        return 1;
    }
    std::printf("sgsim: COM%d -> %s\n",
                sg::simdir::SimulatorComNumber(dir, name, sg::sim::CountHostPorts()),
                line.devicePath().c_str());

    sg::sim::SimLoop loop(options, line, stdout);
    loop.run(g_stopPipe[0]);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    std::string error;
    const std::optional<sg::sim::SimOptions> options = sg::sim::ParseSimOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "sgsim: %s\n%s", error.c_str(), sg::sim::SimUsage().c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(sg::sim::SimUsage().c_str(), stdout);
        return 0;
    }
    setvbuf(stdout, nullptr, _IOLBF, 0);
    return CatchStopSignals() ? Serve(*options) : 1;
}
