#pragma once

#include "remote/byte_stream.h"

#include <QObject>
#include <QTcpSocket>

namespace sg::serial {

// ByteStream on QTcpSocket: the lookup and the connection run on the event loop.
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
    void handleConnected();
    void handleReadyRead();
    void handleError(QAbstractSocket::SocketError error);

    QTcpSocket m_socket;
    remote::StreamListener *m_listener = nullptr;
    bool m_open = false; // between connectTo and close: only then is the listener told
};

} // namespace sg::serial
