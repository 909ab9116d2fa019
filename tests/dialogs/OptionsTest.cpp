#include "dialogs/Options.h"

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

// The controls as one line: lists as text@position, option pairs as the checked caption.
std::string shown(const OptionValues& v) {
    return shown(v.timeout) + " " + shown(v.capture) +
           (v.captureInMinutes ? " Minutes" : " Seconds") + (v.lastState ? " Last" : " Off") +
           (v.monitor ? " Monitor" : " Coordinate") + " V=" + shown(v.vendor) +
           " P=" + shown(v.property) + " ID=" + shown(v.networkID);
}

std::string stored(const HeaderSettings& h) {
    std::ostringstream numbers;
    numbers << h.timeoutNumber << ' ' << h.captureNumber;
    return h.timeout + " " + h.captureValue + " (" + numbers.str() + ")" +
           (h.captureInMinutes ? " minutes " : " seconds ") + h.lossState + " [" + h.snifferState +
           "] V=" + h.vendorCode + " P=" + h.propertyCode + " ID=" + h.networkID;
}

TEST(Options, OpeningShowsTheStoredSettings) {
    using Set = void (*)(HeaderSettings&);
    const struct {
        const char* name;
        Set set;
        std::string shown;
    } rows[] = {
        {"new document", [](HeaderSettings&) {},
         "30@29 0@0 Seconds Last Coordinate V=01,71 P=00,02 ID=1@-1"},
        {"empty codes", [](HeaderSettings& h) { h.vendorCode = h.propertyCode = ""; },
         "30@29 0@0 Seconds Last Coordinate V=00,01 P=00,01 ID=1@-1"},
        {"last four digits of a long code", [](HeaderSettings& h) { h.propertyCode = "1A2B3"; },
         "30@29 0@0 Seconds Last Coordinate V=01,71 P=A2,B3 ID=1@-1"},
        {"first time-out", [](HeaderSettings& h) { h.timeout = "1"; },
         "1@0 0@0 Seconds Last Coordinate V=01,71 P=00,02 ID=1@-1"},
        {"last capture time", [](HeaderSettings& h) { h.captureValue = "240"; },
         "30@29 240@240 Seconds Last Coordinate V=01,71 P=00,02 ID=1@-1"},
        {"time-out beyond the list", [](HeaderSettings& h) { h.timeout = "61"; },
         "61@-1 0@0 Seconds Last Coordinate V=01,71 P=00,02 ID=1@-1"},
        {"capture time beyond the list", [](HeaderSettings& h) { h.captureValue = "241"; },
         "30@29 241@-1 Seconds Last Coordinate V=01,71 P=00,02 ID=1@-1"},
        {"time-out written otherwise", [](HeaderSettings& h) { h.timeout = "030"; },
         "030@-1 0@0 Seconds Last Coordinate V=01,71 P=00,02 ID=1@-1"},
        {"minutes", [](HeaderSettings& h) { h.captureInMinutes = true; },
         "30@29 0@0 Minutes Last Coordinate V=01,71 P=00,02 ID=1@-1"},
        {"loss state other than LAST", [](HeaderSettings& h) { h.lossState = "last"; },
         "30@29 0@0 Seconds Off Coordinate V=01,71 P=00,02 ID=1@-1"},
        {"monitor", [](HeaderSettings& h) { h.snifferState = "SNIFFER"; },
         "30@29 0@0 Seconds Last Monitor V=01,71 P=00,02 ID=1@-1"},
    };
    for (const auto& row : rows) {
        HeaderSettings header;
        row.set(header);
        EXPECT_EQ(shown(loadOptions(header)), row.shown) << row.name;
    }
}

TEST(Options, OkStoresTheControls) {
    // time-out, capture time, minutes, last, monitor, vendor bytes, property bytes, network ID
    const struct {
        const char* name;
        OptionValues values;
        std::string stored;
    } rows[] = {
        {"a new document untouched", loadOptions({}),
         "30 0 (30 0) seconds LAST [] V=0171 P=0002 ID=1"},
        {"typed texts",
         {{29, "90"}, {0, "250"}, false, true, false, {2, 114}, {1, 3}, {0, "77"}},
         "90 250 (90 250) seconds LAST [] V=0171 P=0002 ID=77"},
        {"highest the unit takes",
         {{-1, "255"}, {-1, "255.4"}, false, true, false, {2, 114}, {1, 3}, {-1, "1"}},
         "255 255.4 (255 255.4) seconds LAST [] V=0171 P=0002 ID=1"},
        {"other states",
         {{29, "30"}, {0, "0"}, true, false, true, {2, 114}, {1, 3}, {-1, "1"}},
         "30 0 (30 0) minutes OFF [SNIFFER] V=0171 P=0002 ID=1"},
        {"codes as an empty code opens",
         {{29, "30"}, {0, "0"}, false, true, false, {1, 2}, {1, 2}, {-1, "1"}},
         "30 0 (30 0) seconds LAST [] V=0001 P=0001 ID=1"},
        {"empty byte entries",
         {{29, "30"}, {0, "0"}, false, true, false, {0, 6}, {0, 0}, {-1, "1"}},
         "30 0 (30 0) seconds LAST [] V=05 P= ID=1"},
        {"line break in the network ID",
         {{29, "30"}, {0, "0"}, false, true, false, {2, 114}, {1, 3}, {-1, "1\r\n2"}},
         "30 0 (30 0) seconds LAST [] V=0171 P=0002 ID=12"},
    };
    for (const auto& row : rows) {
        HeaderSettings header;
        ASSERT_TRUE(storeOptions(row.values, header)) << row.name;
        EXPECT_EQ(stored(header), row.stored) << row.name;
    }
}

TEST(Options, OkRefusesWhatTheUnitCannotTakeAndStoresNothing) {
    const std::string capture = "The digital capture time must be a number from 0 to 255.";
    const std::string timeout =
        "The transmitter time-out must be a whole number of minutes from 1 to 255.";
    const struct {
        const char* capture;
        const char* timeout;
        const std::string& reason;
    } rows[] = {
        {"256", "30", capture}, {"-1", "30", capture}, {"", "30", capture},
        {"12s", "30", capture}, {"300", "0", capture}, {"0", "0", timeout},
        {"0", "256", timeout},  {"0", "1.5", timeout}, {"0", "0030", timeout},
        {"0", "", timeout},     {"0", " 30", timeout},
    };
    for (const auto& row : rows) {
        const std::string name =
            std::string("capture \"") + row.capture + "\", time-out \"" + row.timeout + '"';
        HeaderSettings header;
        OptionValues values = loadOptions(header);
        values.capture.text = row.capture;
        values.timeout.text = row.timeout;
        values.monitor = true;
        const auto result = storeOptions(values, header);
        ASSERT_FALSE(result) << name;
        EXPECT_EQ(result.error().reason, row.reason) << name;
        EXPECT_EQ(stored(header), stored(HeaderSettings{})) << name;
    }
}

} // namespace
} // namespace kym
