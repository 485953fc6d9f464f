#include "qtcore/qt_tcp_stream.h"

#include <mutex>
#include <thread>

#include <netdb.h>
#include <sys/socket.h>

namespace sg::qtcore {

// What the lookup thread shares with its stream: the stream lets go by clearing owner,
// under the lock, so that the thread never posts to a stream that is gone.
struct QtTcpStream::Lookup
{
    std::mutex mutex;
    QtTcpStream *owner = nullptr;
};

QtTcpStream::QtTcpStream(QObject *parent) : QObject(parent)
{
    m_attemptTimer.setInterval(remote::ConnectRace::ATTEMPT_DELAY_MS);
    connect(&m_attemptTimer, &QTimer::timeout, this, &QtTcpStream::startNextAttempt);
}

QtTcpStream::~QtTcpStream()
{
    close();
}

void QtTcpStream::connectTo(const std::string &host, std::uint16_t port)
{
    close();
    m_port = port;
    m_lookup = std::make_shared<Lookup>();
    m_lookup->owner = this;
    std::thread(&QtTcpStream::LookUp, m_lookup, host).detach();
}

void QtTcpStream::LookUp(std::shared_ptr<Lookup> lookup, std::string host)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *list = nullptr;
    Found found;
    if (const int code = ::getaddrinfo(host.c_str(), nullptr, &hints, &list); code != 0) {
        found.unknownHost = code == EAI_NONAME || code == EAI_NODATA;
        found.error = ::gai_strerror(code);
    }
    for (const addrinfo *entry = list; entry; entry = entry->ai_next)
        found.addresses.emplace_back(entry->ai_addr);
    if (list)
        ::freeaddrinfo(list);
    const std::lock_guard lock(lookup->mutex);
    if (QtTcpStream *owner = lookup->owner) {
        QMetaObject::invokeMethod(
            owner, [owner, lookup, found] { owner->lookedUp(lookup, found); },
            Qt::QueuedConnection);
    }
}

void QtTcpStream::lookedUp(const std::shared_ptr<Lookup> &lookup, const Found &found)
{
    if (lookup != m_lookup)
        return;
    m_lookup.reset();
    if (found.addresses.empty()) {
        if (m_listener)
            m_listener->streamFailed(found.unknownHost ? remote::StreamFailure::UnknownHost
                                                       : remote::StreamFailure::Other,
                                     found.error);
        return;
    }
    if (m_listener)
        m_listener->lookedUp();
    m_addresses = found.addresses;
    std::vector<bool> ipv6;
    for (const QHostAddress &address : m_addresses)
        ipv6.push_back(address.protocol() == QAbstractSocket::IPv6Protocol);
    m_race.emplace(ipv6);
    m_attemptTimer.start();
    startNextAttempt();
}

void QtTcpStream::startNextAttempt()
{
    const std::optional<std::size_t> next = m_race ? m_race->next() : std::nullopt;
    if (!next) {
        m_attemptTimer.stop();
        return;
    }
    m_attemptTimer.start(); // the next one waits a whole delay after this one
    auto attempt = std::make_unique<QTcpSocket>();
    QTcpSocket *socket = attempt.get();
    connect(socket, &QTcpSocket::connected, this, [this, socket] { attemptConnected(socket); });
    connect(socket, &QTcpSocket::errorOccurred, this,
            [this, socket](QAbstractSocket::SocketError error) { attemptFailed(socket, error); });
    m_attempts.push_back(std::move(attempt));
    socket->connectToHost(m_addresses[*next], m_port);
}

void QtTcpStream::attemptConnected(QTcpSocket *attempt)
{
    for (std::unique_ptr<QTcpSocket> &candidate : m_attempts) {
        if (candidate.get() == attempt)
            m_socket = std::move(candidate);
    }
    dropAttempts();
    m_socket->disconnect(this);
    // A frame must not wait for a delayed acknowledgement.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(m_socket.get(), &QTcpSocket::readyRead, this, &QtTcpStream::handleReadyRead);
    connect(m_socket.get(), &QTcpSocket::errorOccurred, this, &QtTcpStream::handleError);
    if (m_listener)
        m_listener->connected();
}

void QtTcpStream::attemptFailed(QTcpSocket *attempt, QAbstractSocket::SocketError error)
{
    const std::string text = attempt->errorString().toStdString();
    attempt->disconnect(this);
    attempt->abort();
    for (std::unique_ptr<QTcpSocket> &candidate : m_attempts) {
        if (candidate.get() == attempt)
            candidate.release()->deleteLater();
    }
    std::erase(m_attempts, nullptr);
    if (m_race->failed())
        failWith(error, text);
    else
        startNextAttempt();
}

bool QtTcpStream::write(const model::ByteString &bytes)
{
    const auto size = static_cast<qint64>(bytes.size());
    return m_socket && m_socket->write(reinterpret_cast<const char *>(bytes.data()), size) == size;
}

model::ByteString QtTcpStream::takeInput()
{
    if (!m_socket)
        return {};
    const QByteArray bytes = m_socket->readAll();
    return {bytes.begin(), bytes.end()};
}

void QtTcpStream::close()
{
    if (m_lookup) {
        const std::lock_guard lock(m_lookup->mutex);
        m_lookup->owner = nullptr;
    }
    m_lookup.reset();
    dropAttempts();
    m_race.reset();
    if (!m_socket)
        return;
    // What is queued still goes out; the socket goes once it has.
    QTcpSocket *socket = m_socket.release();
    socket->disconnect(this);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::errorOccurred, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState)
        socket->deleteLater();
}

void QtTcpStream::dropAttempts()
{
    m_attemptTimer.stop();
    for (std::unique_ptr<QTcpSocket> &attempt : m_attempts) {
        if (!attempt)
            continue; // the one that won
        attempt->disconnect(this);
        attempt->abort();
        attempt.release()->deleteLater();
    }
    m_attempts.clear();
}

void QtTcpStream::handleReadyRead()
{
    if (m_listener)
        m_listener->bytesArrived();
}

void QtTcpStream::handleError(QAbstractSocket::SocketError error)
{
    const std::string text = m_socket->errorString().toStdString();
    // Deleted later: this runs inside one of the socket's own signals.
    QTcpSocket *socket = m_socket.release();
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    failWith(error, text);
}

void QtTcpStream::failWith(QAbstractSocket::SocketError error, const std::string &text)
{
    dropAttempts();
    m_race.reset();
    if (!m_listener)
        return;
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

} // namespace sg::qtcore
