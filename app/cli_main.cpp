// sgsetup-cli: the signal generator from scripts, many devices at once.

#include "app/cli_app.h"
#include "cli/report.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("sgsetup-cli");
    QCoreApplication::setApplicationVersion(SG_VERSION);

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QString error;
    const std::optional<sg::cli::Command> command = sg::cli::ParseCommand(arguments, error);
    if (!command) {
        std::fprintf(stderr, "sgsetup-cli: %s\nTry 'sgsetup-cli --help'.\n", qPrintable(error));
        return sg::cli::EXIT_USAGE;
    }
    return sg::app::RunCommand(*command);
}
