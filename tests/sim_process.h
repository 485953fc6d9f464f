#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// Runs sgsim in a private port directory that this test process also uses, so the
// catalog holds the host's ports and exactly this simulator.
class SimProcess
{
public:
    SimProcess();
    ~SimProcess();

    // CTest names the simulator as `--sgsim PATH` ahead of QtTest's own options, so that the
    // command line says which program the test runs; takes it out of the arguments.
    static void takeProgram(int &argc, char **argv);

    // Starts sgsim and waits for the line that names its COM number.
    bool start(const QStringList &arguments = {});
    // Ends it by signal; its exit status, or -1 if it would not end or crashed.
    int stop(int signal = SIGTERM);
    // Runs an sgsim that ends by itself; its exit status, or -1.
    int run(const QStringList &arguments);

    int comNumber() const { return m_comNumber; }
    QString device() const { return m_device; }
    // Everything sgsim printed so far.
    QString output();
    // Waits until sgsim has printed text (or timeoutMs passed).
    bool waitForOutput(const QString &text, int timeoutMs = 3000);

private:
    // Waits for it to end, killing it after timeoutMs; its exit status, or -1.
    int ended(int timeoutMs);

    QTemporaryDir m_runtimeDir;
    QProcess m_process;
    QString m_output;
    int m_comNumber = 0;
    QString m_device;
};

// A QtTest main for a test that runs the simulator; setup makes the application.
#define SG_SIM_TEST_MAIN(TestObject, setup)                                                        \
    QTEST_MAIN_WRAPPER(TestObject, SimProcess::takeProgram(argc, argv); setup)
