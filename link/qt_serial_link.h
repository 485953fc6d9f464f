#pragma once

#include "link/serial_link.h"

#include <QObject>
#include <QSerialPort>

namespace sg::link {

// SerialLink on QSerialPort: 9600 baud, 8N1, no flow control, asynchronous I/O.
class QtSerialLink : public QObject, public SerialLink
{
    Q_OBJECT

public:
    explicit QtSerialLink(QObject *parent = nullptr);
    ~QtSerialLink() override;

    void setListener(SerialLinkListener *listener) override;
    bool setPortNumber(int number) override;
    bool isOpen() const override;
    bool open() override;
    bool send(const model::ByteString &bytes) override;
    model::ByteString takeInput() override;
    void close() override;
    std::string lastError() const override;

private:
    void handleReadyRead();
    void handleError(QSerialPort::SerialPortError error);
    void fail(const QString &reason);

    QSerialPort m_port;
    SerialLinkListener *m_listener = nullptr;
    QString m_device;
    std::string m_lastError;
};

} // namespace sg::link
