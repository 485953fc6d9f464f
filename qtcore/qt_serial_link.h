#pragma once

#include "protocol/serial_link.h"

#include <QObject>
#include <QSerialPort>

namespace sg::qtcore {

// SerialLink on QSerialPort: 9600 baud, 8N1, no flow control, asynchronous I/O.
class QtSerialLink : public QObject, public protocol::SerialLink
{
    Q_OBJECT

public:
    explicit QtSerialLink(QObject *parent = nullptr);
    ~QtSerialLink() override;

    void setListener(protocol::SerialLinkListener *listener) override;
    bool isOpen() const override;
    bool open(const std::string &device) override;
    bool send(const model::ByteString &bytes) override;
    model::ByteString takeInput() override;
    void close() override;
    std::string lastError() const override;
    // A device that is not there is told in the system's own words.
    bool portMissing() const override { return false; }

private:
    void handleReadyRead();
    void handleError(QSerialPort::SerialPortError error);
    void fail(const QString &reason);

    QSerialPort m_port;
    protocol::SerialLinkListener *m_listener = nullptr;
    QString m_device;
    std::string m_lastError;
};

} // namespace sg::qtcore
