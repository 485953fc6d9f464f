#include "qtcore/qt_serial_link.h"

#include "qtcore/open_error.h"

namespace sg::qtcore {

QtSerialLink::QtSerialLink(QObject *parent) : QObject(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialLink::handleReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialLink::handleError);
}

QtSerialLink::~QtSerialLink()
{
    m_port.disconnect(this);
}

void QtSerialLink::setListener(protocol::SerialLinkListener *listener)
{
    m_listener = listener;
}

bool QtSerialLink::isOpen() const
{
    return m_port.isOpen();
}

bool QtSerialLink::open(const std::string &device)
{
    m_device = QString::fromStdString(device);
    m_port.setPortName(m_device);
    if (!m_port.open(QIODevice::ReadWrite)) {
        const bool permission = m_port.error() == QSerialPort::PermissionError;
        m_lastError = DescribeOpenError(m_device.toStdString(), m_port.errorString().toStdString(),
                                        permission);
        m_port.clearError();
        return false;
    }
    const bool configured =
        m_port.setBaudRate(QSerialPort::Baud9600) && m_port.setDataBits(QSerialPort::Data8) &&
        m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop) &&
        m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        fail(m_port.errorString());
        m_port.close();
        return false;
    }
    // A device powered from the control lines wakes on these; ptys refuse them, harmlessly.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
    // A late answer to an earlier transfer must not count towards the next reply.
    m_port.clear(QSerialPort::Input);
    return true;
}

bool QtSerialLink::send(const model::ByteString &bytes)
{
    if (!m_port.isOpen()) {
        m_lastError = m_device.toStdString() + ": port is not open";
        return false;
    }
    const qint64 size = static_cast<qint64>(bytes.size());
    const qint64 written = m_port.write(reinterpret_cast<const char *>(bytes.data()), size);
    if (written != size) {
        fail(m_port.errorString());
        return false;
    }
    return true;
}

model::ByteString QtSerialLink::takeInput()
{
    if (!m_port.isOpen())
        return {};
    const QByteArray bytes = m_port.readAll();
    return model::ByteString(bytes.begin(), bytes.end());
}

void QtSerialLink::close()
{
    if (m_port.isOpen())
        m_port.close();
}

std::string QtSerialLink::lastError() const
{
    return m_lastError;
}

void QtSerialLink::handleReadyRead()
{
    if (m_listener)
        m_listener->bytesArrived();
}

void QtSerialLink::handleError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || !m_port.isOpen())
        return;
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    // Left open, the port reports this error again at full speed and burns a core.
    m_lastError = m_device.toStdString() + ": the adapter was removed (" +
                  m_port.errorString().toStdString() + ")";
    m_port.close();
    if (m_listener)
        m_listener->deviceLost();
}

void QtSerialLink::fail(const QString &reason)
{
    m_lastError = m_device.toStdString() + ": " + reason.toStdString();
}

} // namespace sg::qtcore
