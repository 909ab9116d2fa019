#include "PtyUnit.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace kym::test {

PtyUnit::PtyUnit(ReplyMode mode) : mode_(mode) {
    if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
        ADD_FAILURE() << "cannot create a pseudo-terminal";
        return;
    }
    termios raw{};
    ::tcgetattr(slave_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave_, TCSANOW, &raw);
    path_ = ::ttyname(slave_);
    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readable(); });
}

PtyUnit::~PtyUnit() {
    vanish();
}

void PtyUnit::write(const Bytes& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

void PtyUnit::readable() {
    std::uint8_t buffer[512];
    const ssize_t got = ::read(master_, buffer, sizeof buffer);
    if (got <= 0)
        return;
    const Bytes bytes(buffer, buffer + got);
    if (!assembler_.pending())
        frameTimes.push_back(Clock::now());
    received.insert(received.end(), bytes.begin(), bytes.end());
    for (const auto& piece : assembler_.add(bytes)) {
        if (!piece.isFrame)
            continue;
        frames.push_back(piece.bytes);
        if (vanishOnFrame_) {
            vanish();
            return;
        }
        for (const auto& reply : unitReply(piece.bytes, mode_)) {
            write(reply);
            replyTimes.push_back(Clock::now());
        }
    }
}

void PtyUnit::vanish() {
    notifier_.reset();
    for (int* fd : {&slave_, &master_})
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
}

} // namespace kym::test
