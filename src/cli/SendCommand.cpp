#include "cli/Commands.h"
#include "config/Paths.h"
#include "transfer/Frames.h"
#include "transfer/QtSerialPort.h"
#include "transfer/SerialLink.h"
#include "transfer/TransferSession.h"

#include <QCoreApplication>
#include <iostream>
#include <memory>

namespace kym::cli {
namespace {

// Exit codes of send.
constexpr int kNotAcknowledged = 1;
constexpr int kCompileFailed = 2;
constexpr int kCannotOpenPort = 3;

void say(const StatusBox& status) {
    if (!status.text.empty())
        std::cout << status.text << std::endl;
}

// Opens the port, compiles the file and sends it as Send File does, printing each status text
// as it changes.
int send(const std::string& file, const std::string& portText, int unit) {
    int argc = 1;
    char name[] = "kymtool";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    int selectedUnit = 0;
    TransferSession session(selectedUnit);
    SerialLink link(std::make_unique<QtSerialPort>());
    // Listing the system's ports costs more CPU than the whole wait; only a name that is neither
    // COM1 to COM8 nor a device path needs the list.
    PortAddress port = resolvePort(portText, {});
    if (port.location().empty())
        port = resolvePort(portText, link.detectedPorts());
    const bool opened = link.open(port);
    if (opened)
        session.portOpened(port);
    else
        session.portOpenFailed(port, link.openFailure(), link.errorString());
    say(session.portStatus());
    if (!opened) {
        std::cerr << "kymtool send: " << session.portProblem() << '\n';
        return kCannotOpenPort;
    }

    const auto lines = readLineFile(pathFromUtf8(file));
    session.fileRead(file, lines);
    if (!session.fileProblem().empty())
        std::cerr << (lines ? "" : "kymtool send: ") << session.fileProblem() << '\n';
    say(session.fileStatus());
    session.chooseUnit(unit);
    auto sequence = session.SendImage();
    if (!sequence) {
        say(session.commStatus());
        return kCompileFailed;
    }

    int exitCode = kNotAcknowledged;
    QObject::connect(&link, &SerialLink::waitEnded, [&](SendSequence::Verdict verdict) {
        session.waitEnded(verdict);
        say(session.commStatus());
        exitCode = verdict == SendSequence::Verdict::Acknowledged ? 0 : kNotAcknowledged;
    });
    QObject::connect(&link, &SerialLink::portLost, [&](const QString& reason) {
        session.portLost(reason.toStdString());
        say(session.portStatus());
        say(session.commStatus());
        exitCode = kNotAcknowledged;
        QCoreApplication::quit();
    });
    QObject::connect(&link, &SerialLink::sendEnded, &app, &QCoreApplication::quit);
    link.send(std::move(*sequence));
    QCoreApplication::exec();
    return exitCode;
}

} // namespace

void addSendCommand(CLI::App& app, int& exitCode) {
    struct Arguments {
        std::string file;
        std::string port;
        int unit = kMainUnit;
    };
    const auto args = std::make_shared<Arguments>();

    auto* sendCommand = app.add_subcommand(
        "send", "Open a serial port, compile a configuration file and send it to the unit as "
                "Send File does (exit 0 acknowledged, 1 not acknowledged, 2 compile failed, 3 "
                "port cannot be opened)");
    sendCommand->add_option("FILE", args->file, "Configuration file")->required();
    sendCommand
        ->add_option("--port", args->port,
                     "COM1 to COM8 (/dev/ttyS0 to /dev/ttyS7 here), or a device path")
        ->required();
    sendCommand
        ->add_option("--unit", args->unit,
                     "Unit of an extender system: 1 main unit, 2 extended unit 1, 3 extended unit "
                     "2; for a unit without a frame nothing is sent and the wait runs all the same")
        ->capture_default_str();
    sendCommand->callback(
        [args, &exitCode] { exitCode = send(args->file, args->port, args->unit); });
}

} // namespace kym::cli
