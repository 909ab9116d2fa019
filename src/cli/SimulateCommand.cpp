#include "cli/Commands.h"
#include "config/Conversions.h"
#include "config/Result.h"
#include "transfer/Frames.h"
#include "transfer/SimulatedUnit.h"

#include <cerrno>
#include <chrono>
#include <csignal>
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
        std::cerr << "kymtool simulate: " << what << ": " << errnoText(errno) << '\n';
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

void addSimulateCommand(CLI::App& app, int& exitCode) {
    struct Arguments {
        std::string link;
        std::string mode = "ack";
    };
    const auto args = std::make_shared<Arguments>();

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
