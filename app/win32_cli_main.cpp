// sgsetup-cli for Windows: the signal generator from scripts, many devices at once.

#include "app/win32_cli_world.h"
#include "cli/report.h"
#include "cli/run_command.h"
#include "win32/wide_text.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

int wmain(int argc, wchar_t *argv[])
{
    // UTF-8 out, byte for byte as on Linux: no code page, no CR added to a line break.
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);

    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(sg::win32::Narrow(argv[i]));
    std::string error;
    const std::optional<sg::cli::Command> command = sg::cli::ParseCommand(arguments, error);
    if (!command) {
        std::fprintf(stderr, "sgsetup-cli: %s\nTry 'sgsetup-cli --help'.\n", error.c_str());
        return sg::cli::EXIT_USAGE;
    }
    sg::win32::MessageLoop messages;
    sg::app::Win32CliWorld world(messages);
    return sg::cli::RunCommand(*command, world);
}
