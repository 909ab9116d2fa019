#include "cli/Commands.h"
#include "transfer/Conversions.h"
#include "transfer/Frames.h"
#include "transfer/QtSerialPort.h"
#include "transfer/SerialLink.h"
#include "transfer/SimulatedUnit.h"
#include "transfer/TransferSession.h"

#include <QCoreApplication>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <deque>
#include <filesystem>
#include <iostream>
#include <memory>
#include <poll.h>
#include <pty.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

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

    const auto lines = readLineFile(file);
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

using Clock = std::chrono::steady_clock;

// A frame's bytes follow each other at once; a frame unfinished for this long is given up.
constexpr auto kFrameGap = std::chrono::milliseconds(500);
// Pieces of a reply are written this far apart, so that the tool reads them one by one.
constexpr auto kPieceGap = std::chrono::milliseconds(50);

// A receiver unit on the master side of a pseudo-terminal; the tool opens the slave side.
class Simulator {
public:
    explicit Simulator(ReplyMode mode) : mode_(mode), start_(Clock::now()) {}
    ~Simulator() {
        for (int fd : {signals_, slave_, master_})
            if (fd >= 0)
                ::close(fd);
    }

    // Prints the error and returns false when the pseudo-terminal cannot be made.
    bool create() {
        if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0)
            return fail("cannot create a pseudo-terminal");
        // The slave stays open here too, so that the tool may close and reopen it.
        termios raw{};
        ::tcgetattr(slave_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave_, TCSANOW, &raw);
        const char* name = ::ttyname(slave_);
        if (!name)
            return fail("the pseudo-terminal has no name");
        path_ = name;

        sigset_t stop;
        sigemptyset(&stop);
        for (int signal : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&stop, signal);
        ::sigprocmask(SIG_BLOCK, &stop, nullptr);
        signals_ = ::signalfd(-1, &stop, 0);
        return signals_ >= 0 || fail("cannot wait for signals");
    }

    const std::string& path() const { return path_; }

    // Answers frames until a signal arrives.
    void run() {
        for (;;) {
            pollfd fds[2] = {{master_, POLLIN, 0}, {signals_, POLLIN, 0}};
            const int ready = ::poll(fds, 2, pollTimeout());
            if (ready < 0 && errno != EINTR)
                return;
            if (ready > 0 && fds[1].revents)
                return;
            if (ready > 0 && (fds[0].revents & POLLIN))
                receive();
            writeDuePieces();
            abandonStalledFrame();
        }
    }

private:
    struct Piece {
        Clock::time_point due;
        std::vector<std::uint8_t> bytes;
    };

    bool fail(const std::string& what) {
        std::cerr << "kymtool simulate: " << what << ": " << std::strerror(errno) << '\n';
        return false;
    }

    int pollTimeout() const {
        std::optional<Clock::time_point> next;
        if (!pieces_.empty())
            next = pieces_.front().due;
        if (assembler_.pending() && (!next || lastByte_ + kFrameGap < *next))
            next = lastByte_ + kFrameGap;
        if (!next)
            return -1;
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now());
        return static_cast<int>(std::max<std::int64_t>(wait.count(), 0));
    }

    void receive() {
        std::uint8_t buffer[4096];
        const ssize_t got = ::read(master_, buffer, sizeof buffer);
        if (got <= 0)
            return;
        lastByte_ = Clock::now();
        for (const auto& piece : assembler_.add(std::span(buffer, static_cast<std::size_t>(got)))) {
            if (piece.isFrame)
                answer(piece.bytes);
            else
                report("stray bytes " + hexText(piece.bytes) + ", no reply");
        }
    }

    void answer(const std::vector<std::uint8_t>& frame) {
        const bool right = checksumRight(frame);
        const auto reply = unitReply(frame, mode_);
        std::string replied;
        auto due = Clock::now();
        for (const auto& bytes : reply) {
            replied += (replied.empty() ? "" : " | ") + hexText(bytes);
            pieces_.push_back({due, bytes});
            due += kPieceGap;
        }
        writeDuePieces();
        report("frame " + hexText(frame) + " (" + std::to_string(frame.size()) + " bytes), " +
               (right ? "checksum right, " : "checksum wrong, ") +
               (reply.empty() ? "no reply" : "replied " + replied));
    }

    void writeDuePieces() {
        while (!pieces_.empty() && pieces_.front().due <= Clock::now()) {
            const auto& bytes = pieces_.front().bytes;
            if (::write(master_, bytes.data(), bytes.size()) < 0)
                fail("cannot reply");
            pieces_.pop_front();
        }
    }

    void abandonStalledFrame() {
        if (assembler_.pending() && Clock::now() - lastByte_ >= kFrameGap) {
            const auto bytes = assembler_.abandon();
            report("incomplete frame " + hexText(bytes) + " (" + std::to_string(bytes.size()) +
                   " bytes), no reply");
        }
    }

    void report(const std::string& line) {
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_);
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%lld.%03lld ",
                      static_cast<long long>(ms.count() / 1000),
                      static_cast<long long>(ms.count() % 1000));
        std::cout << stamp << line << std::endl;
    }

    ReplyMode mode_;
    Clock::time_point start_;
    int master_ = -1;
    int slave_ = -1;
    int signals_ = -1;
    std::string path_;
    FrameAssembler assembler_;
    Clock::time_point lastByte_{};
    std::deque<Piece> pieces_;
};

int simulate(const std::string& link, const std::string& modeName) {
    ReplyMode mode = ReplyMode::Acknowledge;
    for (const auto& entry : kReplyModes)
        if (entry.name == modeName)
            mode = entry.mode;
    Simulator unit(mode);
    if (!unit.create())
        return 1;
    if (!link.empty()) {
        std::error_code error;
        if (std::filesystem::is_symlink(link, error))
            std::filesystem::remove(link, error);
        std::filesystem::create_symlink(unit.path(), link, error);
        if (error) {
            std::cerr << "kymtool simulate: " << link << ": " << error.message() << '\n';
            return 1;
        }
    }
    std::cout << unit.path() << std::endl;
    unit.run();
    if (!link.empty()) {
        std::error_code ignored;
        std::filesystem::remove(link, ignored);
    }
    return 0;
}

} // namespace

void addSerialCommands(CLI::App& app, int& exitCode) {
    struct Arguments {
        std::string file;
        std::string port;
        int unit = kMainUnit;
        std::string link;
        std::string mode = "ack";
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

    std::vector<std::string> modes;
    for (const auto& entry : kReplyModes)
        modes.emplace_back(entry.name);
    auto* simulateCommand = app.add_subcommand(
        "simulate", "Play a receiver unit on a pseudo-terminal until interrupted: print the port "
                    "to open, then every frame received, whether its checksum is right and what "
                    "was replied");
    simulateCommand->add_option("--link", args->link,
                                "Also make the port reachable as this symbolic link");
    simulateCommand
        ->add_option("--reply", args->mode,
                     "ack: as the unit's type does; silent: never; wrong: a reply that must not "
                     "pass; pieces: the six-byte reply in three pieces")
        ->check(CLI::IsMember(modes))
        ->capture_default_str();
    simulateCommand->callback([args, &exitCode] { exitCode = simulate(args->link, args->mode); });
}

} // namespace kym::cli
