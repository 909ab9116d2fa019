#include "cli/Commands.h"
#include "cli/JsonOutput.h"
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

// What send tells: each status text as it changes and the problems, printed at once; or, under
// --json, gathered into the one document written at the end.
class SendReport {
public:
    // The fields that stand before what the send adds.
    SendReport(bool json, Json fields) : json_(json), fields_(std::move(fields)) {
        for (const char* list : {"statuses", "frames", "problems"})
            fields_[list] = Json::array();
    }

    void say(const StatusBox& status) {
        if (status.text.empty())
            return;
        if (json_)
            fields_["statuses"].push_back(status.text);
        else
            std::cout << status.text << std::endl;
    }
    void problem(const std::string& text) {
        if (json_)
            fields_["problems"].push_back(text);
        else
            std::cerr << text << '\n';
    }
    void frameSent(const QByteArray& frame) {
        fields_["frames"].push_back(frameJson(
            std::span(reinterpret_cast<const std::uint8_t*>(frame.constData()), frame.size())));
    }
    int finish(std::string_view outcome, int exitCode) {
        if (json_) {
            fields_["outcome"] = outcome;
            fields_["exit"] = exitCode;
            writeJsonDocument(std::cout, "send", fields_);
        }
        return exitCode;
    }

private:
    bool json_;
    Json fields_;
};

// Opens the port, compiles the file and sends it as Send File does, printing each status text
// as it changes.
int send(const std::string& file, const std::string& portText, int unit, bool json) {
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
    SendReport report(json, {{"port", portText},
                             {"portName", port.displayName()},
                             {"portLocation", port.location()},
                             {"file", file},
                             {"unit", unit},
                             {"outcome", nullptr},
                             {"exit", nullptr}});
    const bool opened = link.open(port);
    if (opened)
        session.portOpened(port);
    else
        session.portOpenFailed(port, link.openFailure(), link.errorString());
    report.say(session.portStatus());
    if (!opened) {
        report.problem("kymtool send: " + session.portProblem());
        return report.finish("port-not-opened", kCannotOpenPort);
    }

    const auto lines = readLineFile(pathFromUtf8(file));
    session.fileRead(file, lines);
    if (!session.fileProblem().empty())
        report.problem((lines ? "" : "kymtool send: ") + session.fileProblem());
    report.say(session.fileStatus());
    session.chooseUnit(unit);
    auto sequence = session.SendImage();
    if (!sequence) {
        report.say(session.commStatus());
        return report.finish("file-not-ready", kCompileFailed);
    }

    std::string_view outcome = "not-acknowledged";
    QObject::connect(&link, &SerialLink::frameSent,
                     [&](const QByteArray& frame) { report.frameSent(frame); });
    QObject::connect(&link, &SerialLink::waitEnded, [&](SendSequence::Verdict verdict) {
        session.waitEnded(verdict);
        report.say(session.commStatus());
        const bool acknowledged = verdict == SendSequence::Verdict::Acknowledged;
        outcome = acknowledged ? "acknowledged" : "not-acknowledged";
    });
    QObject::connect(&link, &SerialLink::portLost, [&](const QString& reason) {
        session.portLost(reason.toStdString());
        report.say(session.portStatus());
        report.say(session.commStatus());
        outcome = "port-lost";
        QCoreApplication::quit();
    });
    QObject::connect(&link, &SerialLink::sendEnded, &app, &QCoreApplication::quit);
    link.send(std::move(*sequence));
    QCoreApplication::exec();
    return report.finish(outcome, outcome == "acknowledged" ? 0 : kNotAcknowledged);
}

} // namespace

void addSendCommand(CLI::App& app, int& exitCode) {
    struct Arguments {
        std::string file;
        std::string port;
        int unit = kMainUnit;
        bool json = false;
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
    sendCommand->add_flag(
        "--json", args->json,
        "Print one JSON document (\"format\": 1) at the end in place of the text");
    sendCommand->callback(
        [args, &exitCode] { exitCode = send(args->file, args->port, args->unit, args->json); });
}

} // namespace kym::cli
