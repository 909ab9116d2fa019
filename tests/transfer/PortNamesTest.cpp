#include "transfer/PortNames.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

using Names = std::vector<std::string>;

TEST(PortNames, ComPortsFirstThenWhatTheSystemDetects) {
    EXPECT_EQ(portEntries({}),
              (Names{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"}));
    const Names entries = portEntries({"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyS7", "/dev/ttyS8"});
    EXPECT_EQ(Names(entries.begin() + 8, entries.end()), (Names{"/dev/ttyUSB0", "/dev/ttyS8"}));
}

TEST(PortNames, EntriesTypedTextsAndWhatTheyOpen) {
    struct Case {
        std::string text;
        int number;
        std::string location;
        std::string opened;
        std::string failed;
    };
    const Case cases[] = {
        {"COM1", 1, "/dev/ttyS0", "COM 1: Open at 19200,N,8,1", "Cannot open:  COM 1"},
        {"COM3", 3, "/dev/ttyS2", "COM 3: Open at 19200,N,8,1", "Cannot open:  COM 3"},
        {"COM8", 8, "/dev/ttyS7", "COM 8: Open at 19200,N,8,1", "Cannot open:  COM 8"},
        {"/dev/pts/4", 0, "/dev/pts/4", "/dev/pts/4: Open at 19200,N,8,1",
         "Cannot open:  /dev/pts/4"},
        {"COM9", 0, "", "", "Cannot open:  COM 0"},
        {"com1", 0, "", "", "Cannot open:  COM 0"},
        {" COM1", 0, "", "", "Cannot open:  COM 0"},
        {"", 0, "", "", "Cannot open:  COM 0"},
    };
    for (const auto& c : cases) {
        const PortAddress port = resolvePort(c.text, {});
        EXPECT_EQ(port.number, c.number) << c.text;
        EXPECT_EQ(port.location(), c.location) << c.text;
        if (!c.opened.empty()) {
            EXPECT_EQ(portOpenText(port), c.opened) << c.text;
        }
        EXPECT_EQ(cannotOpenText(port), c.failed) << c.text;
    }
}

// Where the system names its ports without a path, a detected name opens as listed.
TEST(PortNames, DetectedNamesThatAreNoPathOpenAsListed) {
    const PortAddress port = resolvePort("COM12", {"COM12"});
    EXPECT_EQ(port.location(), "COM12");
    EXPECT_EQ(cannotOpenText(port), "Cannot open:  COM12");
}

TEST(PortNames, LineSettings) {
    EXPECT_EQ(parseLineSettings("19200,N,8,1"), (LineSettings{19200, 'N', 8, 1}));
    EXPECT_EQ(parseLineSettings("9600,E,7,2"), (LineSettings{9600, 'E', 7, 2}));
    for (const char* bad : {"", "19200,N,8", "19200,X,8,1", "19200,N,9,1", "fast,N,8,1"})
        EXPECT_FALSE(parseLineSettings(bad)) << bad;
}

} // namespace
} // namespace kym
