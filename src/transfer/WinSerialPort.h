#pragma once

#include "NativeSerialPort.h"
#include "SerialPort.h"

#include <thread>

namespace kym {

// SerialPort on the native Windows port: a reader thread waits on the line and hands what arrives
// to the port's own thread, which reads it without waiting.
class WinSerialPort : public SerialPort {
    Q_OBJECT
public:
    explicit WinSerialPort(QObject* parent = nullptr);
    ~WinSerialPort() override;

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
    void arrived(std::vector<std::uint8_t> bytes);
    void lostLine(const std::string& reason);

    std::unique_ptr<NativeSerialPort> port_ = makeNativeSerialPort();
    std::string location_;
    std::string settings_;
    std::string error_;
    OpenFailure failure_ = OpenFailure::Other;
    std::vector<std::uint8_t> received_;
    std::jthread reader_;
};

// Makes the native ports.
SerialPortFactory winSerialPorts();

} // namespace kym
