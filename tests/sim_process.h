#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// Runs sgsim in a private port directory that this test process also uses, so the
// catalog holds the host's ports and exactly this simulator.
class SimProcess
{
public:
    SimProcess();
    ~SimProcess();

    // Starts sgsim and waits for the line that names its COM number.
    bool start(const QStringList &arguments = {});
    void stop();

    int comNumber() const { return m_comNumber; }
    QString device() const { return m_device; }
    // Everything sgsim printed so far.
    QString output();
    // Waits until sgsim has printed text (or timeoutMs passed).
    bool waitForOutput(const QString &text, int timeoutMs = 3000);

private:
    QTemporaryDir m_runtimeDir;
    QProcess m_process;
    QString m_output;
    int m_comNumber = 0;
    QString m_device;
};
