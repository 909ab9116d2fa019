#pragma once

#include "transfer/SimulatedUnit.h"

#include <QSocketNotifier>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace kym::test {

// A receiver unit on the master side of a pseudo-terminal, run by the test's event loop: it
// keeps every byte it receives, answers each whole frame as the reply mode says and can
// vanish like an unplugged adapter.
class PtyUnit {
public:
    using Bytes = std::vector<std::uint8_t>;
    using Clock = std::chrono::steady_clock;

    explicit PtyUnit(ReplyMode mode = ReplyMode::Acknowledge);
    ~PtyUnit();
    PtyUnit(const PtyUnit&) = delete;
    PtyUnit& operator=(const PtyUnit&) = delete;

    // The slave side, for the tool to open.
    const std::string& path() const { return path_; }
    // Bytes that wait for the tool before it sends anything.
    void write(const Bytes& bytes);
    // The unit vanishes as soon as it has received a whole frame.
    void vanishOnFrame() { vanishOnFrame_ = true; }

    Bytes received;
    std::vector<Bytes> frames;
    std::vector<Clock::time_point> frameTimes; // when each frame's first bytes were read
    std::vector<Clock::time_point> replyTimes; // when each reply was written

private:
    void readable();
    void vanish();

    ReplyMode mode_;
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::unique_ptr<QSocketNotifier> notifier_;
    FrameAssembler assembler_;
    bool vanishOnFrame_ = false;
};

} // namespace kym::test
