#include "qtcore/qt_tcp_stream.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

using sg::qtcore::QtTcpStream;
using sg::remote::StreamFailure;

struct Events : sg::remote::StreamListener
{
    void lookedUp() override {}
    void connected() override { log << "connected"; }
    void bytesArrived() override { log << "bytes"; }
    void streamFailed(StreamFailure, const std::string &) override { log << "failed"; }
    QStringList log;
};

class TestQtTcpStream : public QObject
{
    Q_OBJECT

private slots:
    // A frame written just before a close still reaches the server, whole.
    void closeSendsWhatIsQueued()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QtTcpStream stream;
        Events events;
        stream.setListener(&events);
        stream.connectTo("127.0.0.1", server.serverPort());
        QVERIFY(QTest::qWaitFor([&] { return events.log == QStringList{"connected"}; }, 3000));
        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket *far = server.nextPendingConnection();
        QVERIFY(stream.write({0x44, 0x05, 0x18, 0x00, 0x59}));
        stream.close();
        QVERIFY(QTest::qWaitFor([&] { return far->bytesAvailable() >= 5; }, 3000));
        QCOMPARE(far->readAll(), QByteArray::fromHex("4405180059"));
        QCOMPARE(events.log, QStringList{"connected"});
    }

    // A stream destroyed while its server still sends and closes hears of neither.
    void destroyedWhileTheServerSends()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        Events events;
        auto stream = std::make_unique<QtTcpStream>();
        stream->setListener(&events);
        stream->connectTo("localhost", server.serverPort());
        QVERIFY(QTest::qWaitFor([&] { return events.log == QStringList{"connected"}; }, 3000));
        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket *far = server.nextPendingConnection();
        far->write("44");
        QVERIFY(far->waitForBytesWritten(1000));
        stream.reset();
        far->write("0B");
        far->close();
        QTest::qWait(100);
        QCOMPARE(events.log, QStringList{"connected"});
    }
};

QTEST_GUILESS_MAIN(TestQtTcpStream)
#include "test_qt_tcp_stream.moc"
