#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "config/Folders.h"
#include "config/Paths.h"
#include "transfer/Frames.h"
#include "transfer/ProgrammingRecord.h"
#include "transfer/SerialLink.h"
#include "transfer/SerialPorts.h"
#include "transfer/TransferSession.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <array>
#include <iostream>
#include <memory>

namespace kym::cli {
namespace {

// Exit codes of send.
constexpr int kNotAcknowledged = 1;
constexpr int kCompileFailed = 2;
constexpr int kCannotOpenPort = 3;

struct SendArguments {
    std::string file;
    std::string port;
    int unit = kMainUnit;
    bool repeat = false;
    int count = 0; // acknowledged units to stop after; 0 for no limit
    bool json = false;
};

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

// Writes the send's line; a record that cannot be written is reported and the send goes on.
void writeRecord(TransferSession& session, const ProgrammingRecord& record, SendReport& report) {
    if (auto entry = session.takeRecordEntry()) {
        const auto written = record.append(*entry);
        session.recordWritten(written);
        if (!written)
            report.problem("kymtool send: " + written.error().reason);
    }
}

enum class UnitOutcome { Acknowledged, Failed, PortLost };

// One send to the unit on the cable, its line in the record, then its outcome on stdout.
UnitOutcome sendOnce(TransferSession& session, SerialLink& link, const ProgrammingRecord& record,
                     SendReport& report, SendSequence sequence) {
    QEventLoop loop;
    UnitOutcome outcome = UnitOutcome::Failed;
    const auto waited = QObject::connect(&link, &SerialLink::waitEnded, [&](auto verdict) {
        session.waitEnded(verdict);
        writeRecord(session, record, report);
        report.say(session.commStatus());
        outcome = verdict == SendSequence::Verdict::Acknowledged ? UnitOutcome::Acknowledged
                                                                 : UnitOutcome::Failed;
    });
    const auto lost = QObject::connect(&link, &SerialLink::portLost, [&](const QString& reason) {
        session.portLost(reason.toStdString());
        writeRecord(session, record, report);
        report.say(session.portStatus());
        report.say(session.commStatus());
        outcome = UnitOutcome::PortLost;
        loop.quit();
    });
    const auto ended = QObject::connect(&link, &SerialLink::sendEnded, &loop, &QEventLoop::quit);
    link.send(std::move(sequence));
    loop.exec();
    session.sendEnded();
    for (const auto& connection : {waited, lost, ended})
        QObject::disconnect(connection);
    return outcome;
}

// Enter means a new unit is on the cable; q, or the end of the input, stops.
bool nextUnitWanted() {
    std::cerr << "Enter: next unit, q: stop" << std::endl;
    std::string answer;
    return std::getline(std::cin, answer) && answer != "q" && answer != "Q";
}

// Opens the port, compiles the file and sends it as Send File does, printing each status text
// as it changes; with repeat, once per unit until the user stops or count units acknowledged.
int send(const SendArguments& args) {
    int argc = 1;
    char name[] = "kymtool";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    int selectedUnit = 0;
    TransferSession session(selectedUnit);
    SerialLink link(systemSerialPorts()());
    // Listing the system's ports costs more CPU than the whole wait; only a name that is neither
    // COM1 to COM8 nor a device path needs the list.
    PortAddress port = resolvePort(args.port, {});
    if (port.location().empty())
        port = resolvePort(args.port, link.detectedPorts());
    SendReport report(args.json, {{"port", args.port},
                                  {"portName", port.displayName()},
                                  {"portLocation", port.location()},
                                  {"file", args.file},
                                  {"unit", args.unit},
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

    const auto bytes = readConfigurationBytes(pathFromUtf8(args.file));
    session.fileRead(args.file, bytes);
    if (!session.fileProblem().empty())
        report.problem((bytes ? "" : "kymtool send: ") + session.fileProblem());
    report.say(session.fileStatus());
    session.chooseUnit(args.unit);

    const Folders folders = Folders::forUser();
    folders.create();
    const ProgrammingRecord record(folders.programmingRecord());
    QObject::connect(&link, &SerialLink::frameSent,
                     [&](const QByteArray& frame) { report.frameSent(frame); });
    int acknowledged = 0;
    int failed = 0;
    UnitOutcome outcome = UnitOutcome::Failed;
    for (;;) {
        auto sequence = session.SendImage();
        if (!sequence) {
            report.say(session.commStatus());
            return report.finish("file-not-ready", kCompileFailed);
        }
        outcome = sendOnce(session, link, record, report, std::move(*sequence));
        ++(outcome == UnitOutcome::Acknowledged ? acknowledged : failed);
        if (!args.repeat || outcome == UnitOutcome::PortLost ||
            (args.count > 0 && acknowledged >= args.count) || !nextUnitWanted())
            break;
    }
    if (args.repeat)
        std::cout << "Acknowledged: " << acknowledged << ", failed: " << failed << std::endl;
    constexpr std::array kOutcomeNames{"acknowledged", "not-acknowledged", "port-lost"};
    return report.finish(kOutcomeNames[static_cast<std::size_t>(outcome)],
                         failed == 0 ? 0 : kNotAcknowledged);
}

} // namespace

void addSendCommand(CLI::App& app, int& exitCode) {
    const auto args = std::make_shared<SendArguments>();

    auto* sendCommand = app.add_subcommand(
        "send", "Open a serial port, compile a configuration file and send it to the unit as "
                "Send File does, adding a line to programming-record.csv in the kym folder (exit "
                "0 acknowledged, 1 not acknowledged, 2 compile failed, 3 port cannot be opened)");
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
    sendCommand->add_flag("--repeat", args->repeat,
                          "Program one unit after another: after each outcome, Enter sends to the "
                          "next unit on the cable and q stops; exit 1 when any unit failed");
    sendCommand
        ->add_option("--count", args->count, "With --repeat: stop after N acknowledged units")
        ->check(CLI::PositiveNumber);
    sendCommand
        ->add_flag("--json", args->json,
                   "Print one JSON document (\"format\": 1) at the end in place of the text")
        ->excludes("--repeat")
        ->excludes("--count");
    sendCommand->callback([args, &exitCode] {
        args->repeat = args->repeat || args->count > 0;
        exitCode = send(*args);
    });
}

} // namespace kym::cli
