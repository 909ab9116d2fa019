#include "QtSerialPort.h"

#include "PortNames.h"
#include "config/TextLines.h"

#include <QSerialPortInfo>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace kym {
namespace {

QSerialPort::Parity parity(char letter) {
    switch (letter) {
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    case 'M':
        return QSerialPort::MarkParity;
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

// A device node without hardware behind it fails with an I/O error. Unix reports a port that
// another program holds (its lock file, an exclusive open) as a permission error too; the rights
// on the device node tell the two apart. Windows reports a port in use as access denied.
OpenFailure openFailureOf(QSerialPort::SerialPortError error, const std::string& location) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::ResourceError:
        return OpenFailure::NotFound;
    case QSerialPort::PermissionError:
#ifdef _WIN32
        return OpenFailure::Busy;
#else
        return ::access(location.c_str(), R_OK | W_OK) == 0 ? OpenFailure::Busy
                                                            : OpenFailure::PermissionDenied;
#endif
    default:
        return OpenFailure::Other;
    }
}

} // namespace

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent) {
    connect(&port_, &QSerialPort::readyRead, this, &SerialPort::readyRead);
    connect(&port_, &QSerialPort::bytesWritten, this, [this] {
        if (port_.bytesToWrite() == 0)
            Q_EMIT written();
    });
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::failed);
}

void QtSerialPort::setPortName(const std::string& location) {
    location_ = location;
    port_.setPortName(QString::fromStdString(location));
}

void QtSerialPort::setSettings(std::string_view settings) {
    settings_ = std::string(settings);
}

bool QtSerialPort::open() {
    const auto line = parseLineSettings(settings_);
    if (!line) {
        failure_ = OpenFailure::Other;
        error_ = "unknown line settings " + utf8InQuotes(settings_);
        return false;
    }
    if (location_.empty()) {
        failure_ = OpenFailure::NotFound;
        error_ = "no such port";
        return false;
    }
    if (!port_.open(QIODevice::ReadWrite)) {
        failure_ = openFailureOf(port_.error(), location_);
        error_ = port_.errorString().toStdString();
        return false;
    }
    const bool set =
        port_.setBaudRate(line->baudRate) && port_.setParity(parity(line->parity)) &&
        port_.setDataBits(static_cast<QSerialPort::DataBits>(line->dataBits)) &&
        port_.setStopBits(line->stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
        port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!set) {
        failure_ = OpenFailure::Other;
        error_ = port_.errorString().toStdString();
        port_.close();
        return false;
    }
    error_.clear();
    return true;
}

void QtSerialPort::close() {
    if (port_.isOpen())
        port_.close();
}

bool QtSerialPort::isOpen() const {
    return port_.isOpen();
}

void QtSerialPort::write(std::uint8_t byte) {
    const char data = static_cast<char>(byte);
    port_.write(&data, 1);
}

std::vector<std::uint8_t> QtSerialPort::read() {
    const QByteArray data = port_.readAll();
    return {data.begin(), data.end()};
}

void QtSerialPort::discardReceived() {
    port_.clear(QSerialPort::Input);
}

std::string QtSerialPort::errorString() const {
    return error_;
}

OpenFailure QtSerialPort::openFailure() const {
    return failure_;
}

std::vector<std::string> QtSerialPort::detectedPorts() const {
    std::vector<std::string> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports.push_back(info.systemLocation().toStdString());
    return ports;
}

// A port that fails while open keeps failing on every notification; it is closed at once.
void QtSerialPort::failed(QSerialPort::SerialPortError error) {
    const bool lostLine = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                          error == QSerialPort::WriteError;
    if (!lostLine || !port_.isOpen())
        return;
    error_ = port_.errorString().toStdString();
    port_.close();
    Q_EMIT lost(QString::fromStdString(error_));
}

SerialPortFactory qtSerialPorts() {
    return [] { return std::make_unique<QtSerialPort>(); };
}

} // namespace kym
