#pragma once

#include "transfer/SerialPort.h"

#include <QTimer>

namespace kym::test {

// A serial port without a line, beside one detected adapter: it records what it is given and
// written, and the test makes opening fail or bytes arrive. Written bytes leave on the next
// event-loop turn, as on a real port.
class FakeSerialPort : public SerialPort {
public:
    struct Record {
        bool opens = true;
        // Why an open fails, in kind and in the system's words.
        OpenFailure failure = OpenFailure::PermissionDenied;
        std::string error = "Permission denied";
        std::string portName;
        std::string settings;
        std::vector<std::uint8_t> written;
        bool open = false;
    };

    explicit FakeSerialPort(Record& record) : record_(record) {}

    void setPortName(const std::string& location) override { record_.portName = location; }
    void setSettings(std::string_view settings) override { record_.settings = settings; }
    bool open() override {
        record_.open = record_.opens && !record_.portName.empty();
        return record_.open;
    }
    void close() override { record_.open = false; }
    bool isOpen() const override { return record_.open; }
    void write(std::uint8_t byte) override {
        record_.written.push_back(byte);
        if (!leaving_) {
            leaving_ = true;
            QTimer::singleShot(0, this, [this] {
                leaving_ = false;
                Q_EMIT written();
            });
        }
    }
    std::vector<std::uint8_t> read() override { return std::exchange(arrived_, {}); }
    void discardReceived() override { arrived_.clear(); }
    std::string errorString() const override { return record_.error; }
    OpenFailure openFailure() const override { return record_.failure; }
    std::vector<std::string> detectedPorts() const override { return {"/dev/ttyUSB0"}; }

    void arrive(std::vector<std::uint8_t> bytes) {
        arrived_.insert(arrived_.end(), bytes.begin(), bytes.end());
        Q_EMIT readyRead();
    }

private:
    Record& record_;
    std::vector<std::uint8_t> arrived_;
    bool leaving_ = false;
};

} // namespace kym::test
