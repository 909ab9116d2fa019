#include "SerialLink.h"

#include <chrono>

namespace kym {
namespace {

SendSequence::TimePoint now() {
    return SendSequence::Clock::now();
}

QByteArray toBytes(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

} // namespace

SerialLink::SerialLink(std::unique_ptr<SerialPort> port, QObject* parent)
    : QObject(parent), port_(std::move(port)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SerialLink::timerFired);
    connect(port_.get(), &SerialPort::readyRead, this, &SerialLink::portReadyRead);
    connect(port_.get(), &SerialPort::written, this, &SerialLink::portWritten);
    connect(port_.get(), &SerialPort::lost, this, &SerialLink::portFailed);
}

SerialLink::~SerialLink() {
    stop();
    close();
}

bool SerialLink::open(const PortAddress& address) {
    port_->setPortName(address.location());
    port_->setSettings(kLineSettings);
    return port_->open();
}

void SerialLink::close() {
    port_->close();
}

void SerialLink::send(SendSequence sequence) {
    sequence_ = std::move(sequence);
    apply(sequence_->start(now()));
}

void SerialLink::stop() {
    timer_.stop();
    sequence_.reset();
}

void SerialLink::apply(SendSequence::Step step) {
    if (step.discardReceived)
        port_->discardReceived();
    for (std::uint8_t byte : step.frame)
        port_->write(byte);
    if (!step.frame.empty())
        Q_EMIT frameSent(toBytes(step.frame));
    if (step.wakeAt) {
        const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(*step.wakeAt - now());
        timer_.start(std::max(remaining, std::chrono::milliseconds(0)));
    } else {
        timer_.stop();
    }
    if (step.finished)
        sequence_.reset();
    if (step.verdict)
        Q_EMIT waitEnded(*step.verdict);
    if (step.finished)
        Q_EMIT sendEnded();
}

void SerialLink::portReadyRead() {
    const std::vector<std::uint8_t> bytes = port_->read();
    if (bytes.empty())
        return;
    Q_EMIT bytesReceived(toBytes(bytes));
    if (sequence_)
        apply(sequence_->received(bytes, now()));
}

void SerialLink::portWritten() {
    if (sequence_)
        apply(sequence_->frameLeft(now()));
}

void SerialLink::timerFired() {
    if (sequence_)
        apply(sequence_->wake(now()));
}

void SerialLink::portFailed(const QString& reason) {
    stop();
    Q_EMIT portLost(reason);
}

} // namespace kym
