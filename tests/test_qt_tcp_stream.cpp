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

// The stream connected to a server on this machine: the server's end, or null.
QTcpSocket *Connect(QTcpServer &server, QtTcpStream &stream, Events &events, const char *host)
{
    stream.setListener(&events);
    if (!server.listen(QHostAddress::LocalHost))
        return nullptr;
    stream.connectTo(host, server.serverPort());
    const bool up = QTest::qWaitFor(
        [&] { return events.log == QStringList{"connected"} && server.hasPendingConnections(); },
        3000);
    return up ? server.nextPendingConnection() : nullptr;
}

class TestQtTcpStream : public QObject
{
    Q_OBJECT

private slots:
    // A frame written just before a close still reaches the server, whole.
    void closeSendsWhatIsQueued()
    {
        QTcpServer server;
        QtTcpStream stream;
        Events events;
        QTcpSocket *far = Connect(server, stream, events, "127.0.0.1");
        QVERIFY(far);
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
        Events events;
        auto stream = std::make_unique<QtTcpStream>();
        QTcpSocket *far = Connect(server, *stream, events, "localhost");
        QVERIFY(far);
        far->write("44");
        QVERIFY(far->waitForBytesWritten(1000));
        stream.reset();
        far->write("0B");
        far->close();
        QTest::qWait(100);
        QCOMPARE(events.log, QStringList{"connected"});
    }

    // A closed stream hears nothing more, though its server resets the connection while
    // the stream still sends what was queued.
    void closedWhileItStillSends()
    {
        QTcpServer server;
        QtTcpStream stream;
        Events events;
        QTcpSocket *far = Connect(server, stream, events, "127.0.0.1");
        QVERIFY(far);
        QVERIFY(stream.write(sg::model::ByteString(16 << 20, 0x44)));
        stream.close();
        far->abort();
        QTest::qWait(200);
        QCOMPARE(events.log, QStringList{"connected"});
    }
};

QTEST_GUILESS_MAIN(TestQtTcpStream)
#include "test_qt_tcp_stream.moc"
