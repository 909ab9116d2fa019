// kymtool send against a unit played here on a pseudo-terminal: the CPU the tool uses while it
// waits out a time-out, the time from the last byte of the unit's reply to the status line, and
// that time with and without the programming record written before the status.
#include "Spawn.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using kym::bench::spawn;

using Clock = std::chrono::steady_clock;

constexpr std::size_t kFrameLength = 79;
const unsigned char kAckReply[] = {0x1B, 0x47, 0x4A, 0x06, 0x39, 0xAB};

// A pseudo-terminal whose master side plays the unit; the slave stays open here so that the tool
// can open and close it again and again.
struct Pty {
    Pty() {
        ::openpty(&master, &slave, nullptr, nullptr, nullptr);
        termios raw{};
        ::tcgetattr(slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
        path = ::ttyname(slave);
    }
    ~Pty() {
        ::close(slave);
        ::close(master);
    }
    int master = -1;
    int slave = -1;
    std::string path;
};

// Reads until count bytes have come or nothing came for a few seconds; false then.
bool readBytes(int fd, std::size_t count, std::string* into = nullptr) {
    std::size_t got = 0;
    char buffer[256];
    while (got < count) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 5000) <= 0)
            return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        got += static_cast<std::size_t>(n);
        if (into)
            into->append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

// Reads the pipe until the text has come; false when it does not.
bool readUntil(int fd, const std::string& text) {
    std::string seen;
    while (seen.find(text) == std::string::npos)
        if (!readBytes(fd, 1, &seen))
            return false;
    return true;
}

double cpuMs(const rusage& usage) {
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A new "KYM3815" document, as kymtool new writes it.
std::string configurationFile() {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("kym-serial-bench-" + std::to_string(::getpid()) + ".vlt"))
                                 .string();
    const pid_t pid = spawn({KYMTOOL, "new", "KYM3815", path});
    if (pid > 0)
        ::waitpid(pid, nullptr, 0);
    return path;
}

// A home folder for kymtool in the temporary folder. With a kym folder in it the programming
// record is written there; with a file in the kym folder's place the record cannot even be opened,
// so a send there costs what it would without the record.
class BenchHome {
public:
    explicit BenchHome(bool record)
        : path_(std::filesystem::temp_directory_path() /
                ("kym-serial-bench-home-" + std::to_string(::getpid()) + (record ? "" : "-none"))) {
        std::filesystem::create_directories(path_);
        if (record)
            std::filesystem::create_directories(path_ / "kym");
        else
            std::ofstream(path_ / "kym") << "not a folder";
        use();
    }
    ~BenchHome() { std::filesystem::remove_all(path_); }
    void use() const { ::setenv("HOME", path_.c_str(), 1); }

private:
    std::filesystem::path path_;
};

// CPU time of every thread of the process so far, in milliseconds, from the scheduler's own
// nanosecond count.
double threadCpuMs(pid_t pid) {
    double total = 0;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream stat(task.path() / "schedstat");
        double ns = 0;
        if (stat >> ns)
            total += ns / 1e6;
    }
    return total;
}

struct SendRun {
    double wallMs = 0;
    double cpuMs = 0;
    double waitWallMs = 0; // a stretch of the acknowledgement wait
    double waitCpuMs = 0;  // and the CPU the tool used in it
    bool ok = false;
};

// One kymtool send, the unit acknowledging at once or staying silent. While the silent unit
// lets the tool wait, the tool's CPU is taken from just after the frame to shortly before the
// time-out.
SendRun sendOnce(const Pty& unit, const std::string& file, bool acknowledge) {
    SendRun run;
    const auto start = Clock::now();
    const pid_t pid = spawn({KYMTOOL, "send", file, "--port", unit.path});
    run.ok = pid > 0 && readBytes(unit.master, kFrameLength);
    if (run.ok && acknowledge)
        run.ok = ::write(unit.master, kAckReply, sizeof kAckReply) == sizeof kAckReply;
    if (run.ok && !acknowledge) {
        const auto waitStart = Clock::now();
        const double cpuStart = threadCpuMs(pid);
        pollfd none{unit.master, POLLIN, 0};
        run.ok = ::poll(&none, 1, 1900) == 0;
        run.waitCpuMs = threadCpuMs(pid) - cpuStart;
        run.waitWallMs = msSince(waitStart);
    }
    int status = 0;
    rusage usage{};
    if (pid > 0)
        ::wait4(pid, &status, 0, &usage);
    run.wallMs = msSince(start);
    run.cpuMs = cpuMs(usage);
    run.ok = run.ok && WIFEXITED(status) && WEXITSTATUS(status) == (acknowledge ? 0 : 1);
    return run;
}

// The CPU of a send that times out: within the wait, and over the whole run beside a send
// acknowledged at once, which has the same start-up, compilation and frame.
void BM_TimeOutCpu(benchmark::State& state) {
    const Pty unit;
    const BenchHome home(true);
    const std::string file = configurationFile();
    for (auto _ : state) {
        const SendRun acknowledged = sendOnce(unit, file, true);
        const SendRun silent = sendOnce(unit, file, false);
        if (!acknowledged.ok || !silent.ok) {
            state.SkipWithError("kymtool send did not run as expected");
            break;
        }
        state.SetIterationTime(silent.wallMs / 1e3);
        state.counters["wait_cpu_pct"] = 100 * silent.waitCpuMs / silent.waitWallMs;
        state.counters["cpu_ms"] = silent.cpuMs;
        state.counters["baseline_cpu_ms"] = acknowledged.cpuMs;
        state.counters["whole_run_cpu_pct"] = 100 * silent.cpuMs / silent.wallMs;
    }
    std::filesystem::remove(file);
}

struct AcknowledgedSend {
    double replyToStatusMs = -1; // from the last byte of the unit's reply to the status line
    double wholeMs = -1;         // from the start of kymtool to its end
};

// One kymtool send acknowledged at once, its output on the pipe; negative times when the send did
// not run as expected.
AcknowledgedSend acknowledgedSend(const Pty& unit, const std::string& file,
                                  const int (&toolOut)[2]) {
    const auto start = Clock::now();
    const pid_t pid = spawn({KYMTOOL, "send", file, "--port", unit.path}, -1, toolOut[1]);
    bool ok = pid > 0 && readBytes(unit.master, kFrameLength);
    auto replied = Clock::now();
    if (ok) {
        ok = ::write(unit.master, kAckReply, sizeof kAckReply) == sizeof kAckReply;
        replied = Clock::now();
        ok = ok && readUntil(toolOut[0], "Acknowledge Received\n");
    }
    const double ms = msSince(replied);
    int status = 0;
    if (pid > 0)
        ::waitpid(pid, &status, 0);
    if (!ok || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return {ms, msSince(start)};
}

double median(std::vector<double> values) {
    std::ranges::sort(values);
    return values[values.size() / 2];
}

// From the last byte of the reply to "Acknowledge Received" on kymtool's output, beside the same
// path through a process that only copies: a byte written to a pseudo-terminal, read by cat and
// written to a pipe.
void BM_ReplyToStatus(benchmark::State& state) {
    const Pty unit;
    const Pty echo;
    const BenchHome home(true);
    const std::string file = configurationFile();
    int catOut[2];
    int toolOut[2];
    if (::pipe(catOut) != 0 || ::pipe(toolOut) != 0) {
        state.SkipWithError("no pipe");
        return;
    }
    const pid_t cat = spawn({"/bin/cat"}, echo.slave, catOut[1]);
    double baselineMs = 0;
    for (auto _ : state) {
        const auto written = Clock::now();
        const bool echoed = ::write(echo.master, "x", 1) == 1 && readBytes(catOut[0], 1);
        baselineMs += msSince(written);

        const double ms = acknowledgedSend(unit, file, toolOut).replyToStatusMs;
        if (!echoed || ms < 0) {
            state.SkipWithError("kymtool send did not run as expected");
            break;
        }
        state.SetIterationTime(ms / 1e3);
    }
    state.counters["baseline_ms"] =
        benchmark::Counter(baselineMs, benchmark::Counter::kAvgIterations);
    ::kill(cat, SIGTERM);
    ::waitpid(cat, nullptr, 0);
    for (int fd : {catOut[0], catOut[1], toolOut[0], toolOut[1]})
        ::close(fd);
    std::filesystem::remove(file);
}

// The record's line is flushed to the disk before the status shows: 10 sends with it and 10
// without, taken in turns in the same run; the medians of the reply-to-status time and of the
// whole send, and their ratios.
void BM_RecordCost(benchmark::State& state) {
    const Pty unit;
    const BenchHome with(true);
    const BenchHome without(false);
    const std::string file = configurationFile();
    int toolOut[2];
    if (::pipe(toolOut) != 0) {
        state.SkipWithError("no pipe");
        return;
    }
    // The sends without a record say so on standard error, ten times per run.
    const int savedErr = ::dup(2);
    const int devNull = ::open("/dev/null", O_WRONLY);
    ::dup2(devNull, 2);
    for (auto _ : state) {
        std::vector<double> reply[2];
        std::vector<double> whole[2];
        for (int i = 0; i < 20; ++i) {
            const bool record = i % 2 == 0;
            (record ? with : without).use();
            const AcknowledgedSend send = acknowledgedSend(unit, file, toolOut);
            reply[record].push_back(send.replyToStatusMs);
            whole[record].push_back(send.wholeMs);
        }
        if (std::ranges::min(whole[0]) < 0 || std::ranges::min(whole[1]) < 0) {
            state.SkipWithError("kymtool send did not run as expected");
            break;
        }
        state.SetIterationTime(median(reply[1]) / 1e3);
        state.counters["reply_without_ms"] = median(reply[0]);
        state.counters["reply_ratio"] = median(reply[1]) / median(reply[0]);
        state.counters["send_with_ms"] = median(whole[1]);
        state.counters["send_without_ms"] = median(whole[0]);
        state.counters["send_ratio"] = median(whole[1]) / median(whole[0]);
    }
    ::dup2(savedErr, 2);
    for (int fd : {savedErr, devNull, toolOut[0], toolOut[1]})
        ::close(fd);
    std::filesystem::remove(file);
}

BENCHMARK(BM_TimeOutCpu)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplyToStatus)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordCost)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
