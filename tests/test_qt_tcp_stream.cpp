#include "qtcore/qt_tcp_stream.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <cstring>

#include <dlfcn.h>
#include <netdb.h>
#include <unistd.h>

using sg::qtcore::QtTcpStream;
using sg::remote::StreamFailure;

// This machine's resolver, but for a name with two addresses, 127.0.0.1 and then 127.0.0.2,
// as a name with an IPv6 and an IPv4 address has.
extern "C" int getaddrinfo(const char *node, const char *service, const addrinfo *hints,
                           addrinfo **found)
{
    using Resolver = int (*)(const char *, const char *, const addrinfo *, addrinfo **);
    static const auto real = reinterpret_cast<Resolver>(dlsym(RTLD_NEXT, "getaddrinfo"));
    if (!node || std::strcmp(node, "pair.invalid") != 0)
        return real(node, service, hints, found);
    if (const int code = real("127.0.0.1", service, hints, found); code != 0)
        return code;
    return real("127.0.0.2", service, hints, &(*found)->ai_next);
}

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

    // The first address still connecting when the second is refused goes on, and wins.
    void firstAttemptOutlivesARefusedSecond()
    {
        // A server on 127.0.0.1 whose queue is full, so that it drops a new connection's
        // first SYN and takes the one sent again a second later, once a place is free.
        const int server = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        auto *name = reinterpret_cast<sockaddr *>(&address);
        QVERIFY(::bind(server, name, size) == 0 && ::listen(server, 0) == 0);
        QVERIFY(::getsockname(server, name, &size) == 0);
        QTcpSocket waiting;
        waiting.connectToHost(QHostAddress::LocalHost, ntohs(address.sin_port));
        QVERIFY(waiting.waitForConnected(1000));
        QtTcpStream stream;
        Events events;
        stream.setListener(&events);
        stream.connectTo("pair.invalid", ntohs(address.sin_port));
        QTest::qWait(500); // 127.0.0.2 has refused by now: nothing listens there
        ::close(::accept(server, nullptr, nullptr));
        QVERIFY(QTest::qWaitFor([&] { return !events.log.isEmpty(); }, 3000));
        QCOMPARE(events.log, QStringList{"connected"});
        ::close(server);
    }
};

QTEST_GUILESS_MAIN(TestQtTcpStream)
#include "test_qt_tcp_stream.moc"
