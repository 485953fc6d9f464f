#include "qtcore/host_ports.h"
#include "qtcore/open_error.h"
#include "sim/host_port_count.h"
#include "sim/port_registration.h"
#include "simdir/simulator_ports.h"

#include <QSerialPortInfo>
#include <QtTest>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace sg::qtcore;
using namespace sg::sim;
using namespace sg::simdir;
namespace fs = std::filesystem;

namespace {
constexpr uid_t NOBODY_UID = 65534;
}

class TestHostPorts : public QObject
{
    Q_OBJECT

private slots:
    void hostOrder_data()
    {
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QStringList>("ordered");
        QTest::newRow("groups") << QStringList{"ttyACM0", "rfcomm0", "ttyUSB0", "ttyS1", "ttyS0"}
                                << QStringList{"ttyS0", "ttyS1", "ttyUSB0", "ttyACM0", "rfcomm0"};
        QTest::newRow("natural numbers") << QStringList{"ttyUSB10", "ttyUSB2", "ttyUSB1"}
                                         << QStringList{"ttyUSB1", "ttyUSB2", "ttyUSB10"};
        QTest::newRow("prefix without number is other")
            << QStringList{"ttySAC0", "ttyS3"} << QStringList{"ttyS3", "ttySAC0"};
    }

    void hostOrder()
    {
        QFETCH(QStringList, found);
        QFETCH(QStringList, ordered);
        std::vector<Port> ports;
        for (const QString &name : found)
            ports.push_back({name.toStdString(), "/dev/" + name.toStdString(), {}, {}, 0, {}});
        QStringList result;
        for (const Port &port : OrderHostPorts(ports))
            result << QString::fromStdString(port.label);
        QCOMPARE(result, ordered);
    }

    // The simulator numbers itself after the host's ports without the serial library.
    void simulatorCountsTheHostPortsAsTheToolDoes()
    {
        QCOMPARE(CountHostPorts(), std::size_t(QSerialPortInfo::availablePorts().size()));
    }

    void trust_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("othersOwnIt");
        QTest::addColumn<bool>("trusted");
        QTest::newRow("private") << 0700 << false << true;
        QTest::newRow("group writable") << 0770 << false << false;
        QTest::newRow("world writable") << 0777 << false << false;
        QTest::newRow("world readable") << 0755 << false << true;
        QTest::newRow("another user's") << 0755 << true << false;
    }

    void trust()
    {
        QFETCH(int, mode);
        QFETCH(bool, othersOwnIt);
        QFETCH(bool, trusted);
        QTemporaryDir temp;
        const fs::path dir = fs::path(temp.path().toStdString()) / "ports";
        const PortRegistration sim(dir, "sim", "/dev/null");
        QCOMPARE(::chmod(dir.c_str(), static_cast<mode_t>(mode)), 0);
        if (othersOwnIt && ::chown(dir.c_str(), NOBODY_UID, NOBODY_UID) != 0)
            QSKIP("only root can give a folder to another user");
        QCOMPARE(IsTrustedDir(dir), trusted);
        QCOMPARE(SimulatorPorts(dir).size(), std::size_t{trusted ? 1u : 0u});
    }

    void untrustedShapes()
    {
        QTemporaryDir temp;
        const fs::path base(temp.path().toStdString());
        QVERIFY(!IsTrustedDir(base / "missing"));
        fs::create_directory(base / "real");
        fs::create_directory_symlink(base / "real", base / "link");
        QVERIFY(!IsTrustedDir(base / "link"));
        // A file of ours, closed to others, is still no directory.
        std::ofstream(base / "file").put('x');
        fs::permissions(base / "file", fs::perms::owner_all);
        QVERIFY(!IsTrustedDir(base / "file"));
    }

    void simulatorsSortedAndDanglingSkipped()
    {
        QTemporaryDir temp;
        const fs::path dir(temp.path().toStdString());
        const PortRegistration b(dir, "sim-b", "/dev/null");
        const PortRegistration a(dir, "sim-a", "/dev/zero");
        const PortRegistration c(dir, "sim-c", dir / "gone");
        fs::create_symlink("/dev/tty", dir / "sim-0"); // no simulator holds it
        const std::vector<Port> ports = SimulatorPorts(dir);
        QCOMPARE(ports.size(), std::size_t{2});
        QCOMPARE(ports[0].label, std::string("sim-a"));
        QCOMPARE(ports[0].device, std::string("/dev/zero"));
        QCOMPARE(ports[1].label, std::string("sim-b"));
        QCOMPARE(SimulatorComNumber(dir, "sim-b", 3), 5);
        QCOMPARE(SimulatorComNumber(dir, "sim-c", 3), 0);
    }

    // The system gives a killed simulator's pid and pseudo-terminal to others.
    void killedSimulatorsEntryIsNeitherListedNorKept()
    {
        QTemporaryDir temp;
        const fs::path dir(temp.path().toStdString());
        const pid_t child = fork();
        if (child == 0) {
            const PortRegistration killed(dir, "sim-killed", "/dev/tty");
            pause();
            _exit(0);
        }
        while (!fs::is_symlink(dir / "sim-killed"))
            QTest::qWait(10);
        QVERIFY(!SimulatorPorts(dir).empty());
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        QVERIFY(SimulatorPorts(dir).empty());
        const PortRegistration next(dir, "sim-next", "/dev/null");
        QVERIFY(!fs::is_symlink(dir / "sim-killed") && !fs::exists(dir / "sim-killed.lock"));
        QCOMPARE(SimulatorComNumber(dir, "sim-next", 0), 1);
    }

    void deniedAccessNamesTheGroup()
    {
        const std::string text = DescribeOpenError("/dev/ttyNONE9", "Permission denied", true);
        QCOMPARE(text, std::string("/dev/ttyNONE9: Permission denied (add your user to the group "
                                   "'dialout' and log in again)"));
        QCOMPARE(DescribeOpenError("/dev/ttyNONE9", "No such file or directory", false),
                 std::string("/dev/ttyNONE9: No such file or directory"));
    }

    void deniedAdvice_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("advice");
        QTest::newRow("group may read and write") << 0660 << "add your user to the group";
        QTest::newRow("owner only") << 0600 << "only its owner";
        QTest::newRow("group may only read") << 0640 << "only its owner";
    }

    void deniedAdvice()
    {
        QFETCH(int, mode);
        QFETCH(QString, advice);
        QTemporaryFile device;
        QVERIFY(device.open());
        QCOMPARE(::chmod(device.fileName().toLocal8Bit().constData(), static_cast<mode_t>(mode)),
                 0);
        const std::string text = DeniedAdvice(device.fileName().toStdString());
        QVERIFY2(QString::fromStdString(text).startsWith(advice), text.c_str());
    }
};

QTEST_APPLESS_MAIN(TestHostPorts)
#include "test_host_ports.moc"
