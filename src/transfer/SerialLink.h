#pragma once

#include "PortNames.h"
#include "SendSequence.h"
#include "SerialPort.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>

namespace kym {

// Runs send sequences on a serial port with the event loop: one precise single-shot timer for
// the wait and the pause, the port's ready-read for replies, the monotonic clock for times.
// Nothing blocks, nothing polls. The window and kymtool send share it.
class SerialLink : public QObject {
    Q_OBJECT
public:
    explicit SerialLink(std::unique_ptr<SerialPort> port, QObject* parent = nullptr);
    ~SerialLink() override;

    // Gives the port its name and the line settings and opens it.
    bool open(const PortAddress& address);
    void close();
    bool isOpen() const { return port_->isOpen(); }
    std::string errorString() const { return port_->errorString(); }
    OpenFailure openFailure() const { return port_->openFailure(); }
    std::vector<std::string> detectedPorts() const { return port_->detectedPorts(); }

    void send(SendSequence sequence);
    // Abandons a running send; its port stays as it is.
    void stop();
    bool sending() const { return sequence_.has_value(); }

Q_SIGNALS:
    void frameSent(const QByteArray& frame);
    void bytesReceived(const QByteArray& bytes);
    void waitEnded(kym::SendSequence::Verdict verdict);
    void sendEnded();
    // The port failed and is closed; a running send has ended.
    void portLost(const QString& reason);

private:
    void apply(SendSequence::Step step);
    void portReadyRead();
    void portWritten();
    void timerFired();
    void portFailed(const QString& reason);

    std::unique_ptr<SerialPort> port_;
    std::optional<SendSequence> sequence_;
    QTimer timer_;
};

} // namespace kym
