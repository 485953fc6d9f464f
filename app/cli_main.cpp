// sgsetup-cli: the signal generator from scripts, many devices at once.

#include "app/qt_cli_world.h"
#include "cli/report.h"
#include "cli/run_command.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    const std::optional<sg::cli::Command> command = sg::cli::ParseCommand(arguments, error);
    if (!command) {
        std::fprintf(stderr, "sgsetup-cli: %s\nTry 'sgsetup-cli --help'.\n", error.c_str());
        return sg::cli::EXIT_USAGE;
    }
    sg::app::QtCliWorld world;
    return sg::cli::RunCommand(*command, world);
}
