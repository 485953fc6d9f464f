#include "sim_process.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QTest>

namespace {

QString &Program()
{
    static QString program;
    return program;
}

} // namespace

void SimProcess::takeProgram(int &argc, char **argv)
{
    if (argc < 3 || qstrcmp(argv[1], "--sgsim") != 0)
        qFatal("usage: %s --sgsim PATH [QtTest options]", argv[0]);
    Program() = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i <= argc; ++i) // argv[argc] is the null that ends it
        argv[i - 2] = argv[i];
    argc -= 2;
}

SimProcess::SimProcess()
{
    qputenv("XDG_RUNTIME_DIR", m_runtimeDir.path().toLocal8Bit());
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

SimProcess::~SimProcess()
{
    stop();
}

bool SimProcess::start(const QStringList &arguments)
{
    m_process.start(Program(), arguments);
    if (!waitForOutput("\n"))
        return false;
    const QRegularExpression line(R"(COM(\d+) -> (\S+))");
    const QRegularExpressionMatch match = line.match(m_output);
    if (!match.hasMatch())
        return false;
    m_comNumber = match.captured(1).toInt();
    m_device = match.captured(2);
    return m_comNumber > 0;
}

int SimProcess::stop(int signal)
{
    if (m_process.state() == QProcess::NotRunning)
        return -1;
    ::kill(static_cast<pid_t>(m_process.processId()), signal);
    return ended(2000);
}

int SimProcess::run(const QStringList &arguments)
{
    m_process.start(Program(), arguments);
    const int status = ended(3000);
    output();
    return status;
}

int SimProcess::ended(int timeoutMs)
{
    if (!m_process.waitForFinished(timeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(1000);
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QString SimProcess::output()
{
    m_output += QString::fromLocal8Bit(m_process.readAll());
    return m_output;
}

bool SimProcess::waitForOutput(const QString &text, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!output().contains(text)) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}
