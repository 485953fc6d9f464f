#include "serial/qt_tcp_stream.h"

namespace sg::serial {

QtTcpStream::QtTcpStream(QObject *parent) : QObject(parent)
{
    connect(&m_socket, &QTcpSocket::connected, this, &QtTcpStream::handleConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &QtTcpStream::handleReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &QtTcpStream::handleError);
}

QtTcpStream::~QtTcpStream()
{
    m_socket.disconnect(this);
}

void QtTcpStream::connectTo(const std::string &host, std::uint16_t port)
{
    m_socket.abort();
    m_open = true;
    m_socket.connectToHost(QString::fromStdString(host), port);
}

bool QtTcpStream::write(const model::ByteString &bytes)
{
    const auto size = static_cast<qint64>(bytes.size());
    return m_socket.write(reinterpret_cast<const char *>(bytes.data()), size) == size;
}

model::ByteString QtTcpStream::takeInput()
{
    const QByteArray bytes = m_socket.readAll();
    return {bytes.begin(), bytes.end()};
}

void QtTcpStream::close()
{
    m_open = false;
    // What is queued still goes out; a connection not yet made is dropped.
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        m_socket.disconnectFromHost();
    else
        m_socket.abort();
}

void QtTcpStream::handleConnected()
{
    if (m_open && m_listener)
        m_listener->connected();
}

void QtTcpStream::handleReadyRead()
{
    if (m_open && m_listener)
        m_listener->bytesArrived();
}

void QtTcpStream::handleError(QAbstractSocket::SocketError error)
{
    if (!m_open || !m_listener)
        return;
    m_open = false;
    const std::string text = m_socket.errorString().toStdString();
    m_socket.abort();
    switch (error) {
    case QAbstractSocket::HostNotFoundError:
        m_listener->streamFailed(remote::StreamFailure::UnknownHost, text);
        return;
    case QAbstractSocket::ConnectionRefusedError:
        m_listener->streamFailed(remote::StreamFailure::Refused, text);
        return;
    case QAbstractSocket::RemoteHostClosedError:
        m_listener->streamFailed(remote::StreamFailure::Closed, text);
        return;
    default:
        m_listener->streamFailed(remote::StreamFailure::Other, text);
        return;
    }
}

} // namespace sg::serial
