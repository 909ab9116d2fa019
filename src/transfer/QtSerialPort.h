#pragma once

#include "SerialPort.h"

#include <QSerialPort>

namespace kym {

// SerialPort on QSerialPort: no flow control; the rest of the line as the settings text says.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject* parent = nullptr);

    void setPortName(const std::string& location) override;
    void setSettings(std::string_view settings) override;
    bool open() override;
    void close() override;
    bool isOpen() const override;
    void write(std::uint8_t byte) override;
    std::vector<std::uint8_t> read() override;
    void discardReceived() override;
    std::string errorString() const override;
    OpenFailure openFailure() const override;
    std::vector<std::string> detectedPorts() const override;

private:
    void failed(QSerialPort::SerialPortError error);

    QSerialPort port_;
    std::string location_;
    std::string settings_;
    std::string error_;
    OpenFailure failure_ = OpenFailure::Other;
};

// Makes the real ports.
SerialPortFactory qtSerialPorts();

} // namespace kym
