// sgsetup-cli for Windows: the signal generator from scripts, many devices at once.

#include "app/win32_cli_world.h"
#include "cli/report.h"
#include "cli/run_command.h"
#include "win32/console_text.h"
#include "win32/wide_text.h"

int wmain(int argc, wchar_t *argv[])
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(sg::win32::Narrow(argv[i]));
    std::string error;
    const std::optional<sg::cli::Command> command = sg::cli::ParseCommand(arguments, error);
    if (!command) {
        sg::win32::WriteStandard(STD_ERROR_HANDLE,
                                 "sgsetup-cli: " + error + "\nTry 'sgsetup-cli --help'.\n");
        return sg::cli::EXIT_USAGE;
    }
    sg::win32::MessageLoop messages;
    sg::app::Win32CliWorld world(messages);
    return sg::cli::RunCommand(*command, world);
}
