#pragma once

#include "PortNames.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kym {

// The serial port a unit hangs on. Reading never waits: it takes what has arrived. A port that
// fails while open (an adapter unplugged) closes itself and says so.
class SerialPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The device to open: a path, or a COM name where the system has them.
    virtual void setPortName(const std::string& location) = 0;
    // A settings text such as "19200,N,8,1".
    virtual void setSettings(std::string_view settings) = 0;
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // One byte per write, sent in the order written.
    virtual void write(std::uint8_t byte) = 0;
    virtual std::vector<std::uint8_t> read() = 0;
    virtual void discardReceived() = 0;
    virtual std::string errorString() const = 0;
    // What kind of failure the last open() that failed met.
    virtual OpenFailure openFailure() const = 0;
    // The ports the system knows of, as device paths or names.
    virtual std::vector<std::string> detectedPorts() const = 0;

Q_SIGNALS:
    void readyRead();
    // Everything written so far has been handed to the line.
    void written();
    void lost(const QString& reason);
};

using SerialPortFactory = std::function<std::unique_ptr<SerialPort>()>;

} // namespace kym
