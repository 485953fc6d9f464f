#include "serial/host_ports.h"
#include "serial/open_error.h"
#include "serial/simulator_ports.h"

#include <QtTest>

#include <filesystem>
#include <sys/stat.h>

using namespace sg::serial;
namespace fs = std::filesystem;

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
        std::vector<PortEntry> ports;
        for (const QString &name : found)
            ports.push_back({name.toStdString(), "/dev/" + name.toStdString(), {}});
        QStringList result;
        for (const PortEntry &port : OrderHostPorts(ports))
            result << QString::fromStdString(port.label);
        QCOMPARE(result, ordered);
    }

    void trust_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("trusted");
        QTest::newRow("private") << 0700 << true;
        QTest::newRow("group writable") << 0770 << false;
        QTest::newRow("world writable") << 0777 << false;
        QTest::newRow("world readable") << 0755 << true;
    }

    void trust()
    {
        QFETCH(int, mode);
        QFETCH(bool, trusted);
        QTemporaryDir temp;
        const fs::path dir = fs::path(temp.path().toStdString()) / "ports";
        fs::create_directory(dir);
        QCOMPARE(::chmod(dir.c_str(), static_cast<mode_t>(mode)), 0);
        fs::create_symlink("/dev/null", dir / "sim");
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
    }

    void simulatorsSortedAndDanglingSkipped()
    {
        QTemporaryDir temp;
        const fs::path dir(temp.path().toStdString());
        fs::create_symlink("/dev/null", dir / "sim-b");
        fs::create_symlink("/dev/zero", dir / "sim-a");
        fs::create_symlink(dir / "gone", dir / "sim-c");
        const std::vector<PortEntry> ports = SimulatorPorts(dir);
        QCOMPARE(ports.size(), std::size_t{2});
        QCOMPARE(ports[0].label, std::string("sim-a"));
        QCOMPARE(ports[0].device, std::string("/dev/zero"));
        QCOMPARE(ports[1].label, std::string("sim-b"));
    }

    void deniedAccessNamesTheGroup()
    {
        const std::string text = DescribeOpenError("/dev/ttyNONE9", "Permission denied", true);
        QCOMPARE(text, std::string("/dev/ttyNONE9: Permission denied (add your user to the group "
                                   "'dialout' and log in again)"));
        QCOMPARE(DescribeOpenError("/dev/ttyNONE9", "No such file or directory", false),
                 std::string("/dev/ttyNONE9: No such file or directory"));
    }
};

QTEST_APPLESS_MAIN(TestHostPorts)
#include "test_host_ports.moc"
