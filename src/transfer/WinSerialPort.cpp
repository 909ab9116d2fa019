#include "WinSerialPort.h"

#include "config/TextLines.h"

#include <QMetaObject>

namespace kym {
namespace {

// Short enough that closing the port never waits long for the reader.
constexpr std::chrono::milliseconds kReadWait{50};

} // namespace

WinSerialPort::WinSerialPort(QObject* parent) : SerialPort(parent) {}

WinSerialPort::~WinSerialPort() {
    close();
}

void WinSerialPort::setPortName(const std::string& location) {
    location_ = location;
}

void WinSerialPort::setSettings(std::string_view settings) {
    settings_ = std::string(settings);
}

bool WinSerialPort::open() {
    const auto line = parseLineSettings(settings_);
    if (!line) {
        failure_ = OpenFailure::Other;
        error_ = "unknown line settings " + inQuotes(settings_);
        return false;
    }
    if (location_.empty()) {
        failure_ = OpenFailure::NotFound;
        error_ = "no such port";
        return false;
    }
    if (const auto failure = port_->open(location_, *line)) {
        failure_ = failure->kind;
        error_ = failure->text;
        return false;
    }
    error_.clear();
    received_.clear();
    // Whatever the reader posts is dropped with this object if it is gone by then.
    reader_ = std::jthread([this](std::stop_token stop) {
        while (!stop.stop_requested()) {
            auto bytes = port_->read(kReadWait);
            if (!bytes) {
                QMetaObject::invokeMethod(
                    this, [this, reason = bytes.error().reason] { lostLine(reason); },
                    Qt::QueuedConnection);
                return;
            }
            if (!bytes->empty())
                QMetaObject::invokeMethod(
                    this, [this, data = std::move(*bytes)]() mutable { arrived(std::move(data)); },
                    Qt::QueuedConnection);
        }
    });
    return true;
}

void WinSerialPort::close() {
    if (reader_.joinable()) {
        reader_.request_stop();
        reader_.join();
    }
    port_->close();
}

bool WinSerialPort::isOpen() const {
    return port_->isOpen();
}

void WinSerialPort::write(std::uint8_t byte) {
    if (!port_->isOpen())
        return;
    if (const auto sent = port_->write(std::span(&byte, 1)); !sent) {
        lostLine(sent.error().reason);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this] { Q_EMIT written(); }, Qt::QueuedConnection);
}

std::vector<std::uint8_t> WinSerialPort::read() {
    return std::exchange(received_, {});
}

void WinSerialPort::discardReceived() {
    received_.clear();
    if (port_->isOpen())
        port_->discardReceived();
}

std::string WinSerialPort::errorString() const {
    return error_;
}

OpenFailure WinSerialPort::openFailure() const {
    return failure_;
}

std::vector<std::string> WinSerialPort::detectedPorts() const {
    return nativeSerialPortNames();
}

void WinSerialPort::arrived(std::vector<std::uint8_t> bytes) {
    if (!port_->isOpen())
        return;
    received_.insert(received_.end(), bytes.begin(), bytes.end());
    Q_EMIT readyRead();
}

// A port that failed while open is closed at once, as the Qt port does.
void WinSerialPort::lostLine(const std::string& reason) {
    if (!port_->isOpen())
        return;
    error_ = reason;
    close();
    Q_EMIT lost(QString::fromStdString(error_));
}

SerialPortFactory winSerialPorts() {
    return [] { return std::make_unique<WinSerialPort>(); };
}

} // namespace kym
