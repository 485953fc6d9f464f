#pragma once

#include <QProcess>
#include <QStringList>

// What one run of sgsetup-cli left behind.
struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline CliRun RunCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(SGSETUP_CLI_PATH), arguments);
    process.waitForFinished(20000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}
