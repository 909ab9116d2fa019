#include "config/Options.h"

#include <gtest/gtest.h>
#include <sstream>

namespace kym {
namespace {

std::string shown(const ListChoice& choice) {
    return choice.text + "@" + std::to_string(choice.position);
}

std::string shown(const CodeSelection& code) {
    const auto bytes = codeByteEntries();
    return bytes.at(static_cast<std::size_t>(code.msb)) + "," +
           bytes.at(static_cast<std::size_t>(code.lsb));
}

// Lists as text@position, option pairs by the initial of the checked caption (Seconds/Minutes,
// Last/Off, Coordinate/Monitor).
std::string shown(const OptionValues& v) {
    return shown(v.timeout) + " " + shown(v.capture) + (v.captureInMinutes ? " M" : " S") +
           (v.lastState ? "L" : "O") + (v.monitor ? "M" : "C") + " " + shown(v.vendor) + " " +
           shown(v.property) + " " + shown(v.networkID);
}

std::string stored(const HeaderSettings& h) {
    std::ostringstream numbers;
    numbers << h.timeoutNumber << ' ' << h.captureNumber;
    return h.timeout + " " + h.captureValue + " (" + numbers.str() + ")" +
           (h.captureInMinutes ? " minutes " : " seconds ") + h.lossState + " [" + h.snifferState +
           "] V=" + h.vendorCode + " P=" + h.propertyCode + " ID=" + h.networkID;
}

TEST(Options, OpeningShowsTheStoredSettings) {
    using H = HeaderSettings;
    const std::pair<void (*)(H&), std::string> rows[] = {
        {[](H&) {}, "30@29 0@0 SLC 01,71 00,02 1@-1"},
        {[](H& h) { h.vendorCode = h.propertyCode = ""; }, "30@29 0@0 SLC 00,01 00,01 1@-1"},
        {[](H& h) { h.propertyCode = "1A2B3"; }, "30@29 0@0 SLC 01,71 A2,B3 1@-1"},
        {[](H& h) { h.timeout = "1"; }, "1@0 0@0 SLC 01,71 00,02 1@-1"},
        {[](H& h) { h.captureValue = "240"; }, "30@29 240@240 SLC 01,71 00,02 1@-1"},
        {[](H& h) { h.timeout = "61"; }, "61@-1 0@0 SLC 01,71 00,02 1@-1"},
        {[](H& h) { h.captureValue = "241"; }, "30@29 241@-1 SLC 01,71 00,02 1@-1"},
        {[](H& h) { h.timeout = "030"; }, "030@-1 0@0 SLC 01,71 00,02 1@-1"},
        {[](H& h) { h.captureInMinutes = true; }, "30@29 0@0 MLC 01,71 00,02 1@-1"},
        {[](H& h) { h.lossState = "last"; }, "30@29 0@0 SOC 01,71 00,02 1@-1"},
        {[](H& h) { h.snifferState = "SNIFFER"; }, "30@29 0@0 SLM 01,71 00,02 1@-1"},
    };
    for (const auto& [set, expected] : rows) {
        HeaderSettings header;
        set(header);
        EXPECT_EQ(shown(loadOptions(header)), expected);
    }
}

// The values: time-out, capture time, minutes, last, monitor, vendor, property and network ID.
TEST(Options, OkStoresTheControls) {
    const std::pair<OptionValues, std::string> rows[] = {
        {loadOptions({}), "30 0 (30 0) seconds LAST [] V=0171 P=0002 ID=1"},
        {{{29, "90"}, {0, "250"}, false, true, false, {2, 114}, {1, 3}, {0, "77"}},
         "90 250 (90 250) seconds LAST [] V=0171 P=0002 ID=77"},
        {{{-1, "255"}, {-1, "255.4"}, false, true, false, {2, 114}, {1, 3}, {-1, "1"}},
         "255 255.4 (255 255.4) seconds LAST [] V=0171 P=0002 ID=1"},
        {{{29, "30"}, {0, "0"}, true, false, true, {2, 114}, {1, 3}, {-1, "1"}},
         "30 0 (30 0) minutes OFF [SNIFFER] V=0171 P=0002 ID=1"},
        {{{29, "30"}, {0, "0"}, false, true, false, {0, 6}, {0, 0}, {-1, "1"}},
         "30 0 (30 0) seconds LAST [] V=05 P= ID=1"},
        {{{29, "30"}, {0, "0"}, false, true, false, {2, 114}, {1, 3}, {-1, "1\r\n2"}},
         "30 0 (30 0) seconds LAST [] V=0171 P=0002 ID=12"},
    };
    for (const auto& [values, expected] : rows) {
        HeaderSettings header;
        ASSERT_TRUE(storeOptions(values, header)) << expected;
        EXPECT_EQ(stored(header), expected);
    }
}

TEST(Options, OkRefusesWhatTheUnitCannotTakeAndStoresNothing) {
    const std::string capture = "The digital capture time must be a number from 0 to 255.";
    const std::string timeout =
        "The transmitter time-out must be a whole number of minutes from 1 to 255.";
    const std::tuple<const char*, const char*, std::string> rows[] = {
        {"256", "30", capture}, {"-1", "30", capture}, {"", "30", capture},
        {"12s", "30", capture}, {"300", "0", capture}, {"0", "0", timeout},
        {"0", "256", timeout},  {"0", "1.5", timeout}, {"0", "0030", timeout},
        {"0", "", timeout},     {"0", " 30", timeout},
    };
    for (const auto& [captureTime, timeOut, reason] : rows) {
        HeaderSettings header;
        OptionValues values = loadOptions(header);
        values.capture.text = captureTime;
        values.timeout.text = timeOut;
        values.monitor = true;
        const auto result = storeOptions(values, header);
        ASSERT_FALSE(result) << captureTime << " / " << timeOut;
        EXPECT_EQ(result.error().reason, reason);
        EXPECT_EQ(stored(header), stored(HeaderSettings{}));
    }
}

} // namespace
} // namespace kym
