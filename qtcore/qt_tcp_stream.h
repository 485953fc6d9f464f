#pragma once

#include "remote/byte_stream.h"
#include "remote/connect_race.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

namespace sg::qtcore {

// ByteStream on QTcpSocket. The name is looked up by getaddrinfo on a thread of its own
// that nobody joins, so a lookup the link gives up never holds the program; its
// addresses are then raced as RFC 8305 says, each on its own socket, on the event loop.
class QtTcpStream : public QObject, public remote::ByteStream
{
    Q_OBJECT

public:
    explicit QtTcpStream(QObject *parent = nullptr);
    ~QtTcpStream() override;

    void setListener(remote::StreamListener *listener) override { m_listener = listener; }
    void connectTo(const std::string &host, std::uint16_t port) override;
    bool write(const model::ByteString &bytes) override;
    model::ByteString takeInput() override;
    void close() override;

private:
    struct Lookup;
    struct Found
    {
        std::vector<QHostAddress> addresses;
        bool unknownHost = false;
        std::string error;
    };

    static void LookUp(std::shared_ptr<Lookup> lookup, std::string host);
    void lookedUp(const std::shared_ptr<Lookup> &lookup, const Found &found);
    void startNextAttempt();
    void attemptConnected(QTcpSocket *attempt);
    void attemptFailed(QTcpSocket *attempt, QAbstractSocket::SocketError error);
    void handleReadyRead();
    void handleError(QAbstractSocket::SocketError error);
    void failWith(QAbstractSocket::SocketError error, const std::string &text);
    void dropAttempts();

    remote::StreamListener *m_listener = nullptr;
    std::shared_ptr<Lookup> m_lookup;
    std::uint16_t m_port = 0;
    std::vector<QHostAddress> m_addresses;
    std::optional<remote::ConnectRace> m_race;
    std::vector<std::unique_ptr<QTcpSocket>> m_attempts;
    QTimer m_attemptTimer;
    std::unique_ptr<QTcpSocket> m_socket; // the attempt that won
};

} // namespace sg::qtcore
