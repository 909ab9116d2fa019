#include "support/ConfigLines.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

using test::ConfigLines;

const ConfigLines kWorkedExample("QD4815",
                                 {",1,COUNT,0,4095,;", ",2,COUNT,0,4095,;", ",3,COUNT,0,4095,;",
                                  ",4,COUNT,0,4095,;", ",1,DIGITAL,,,;", ",2,DIGITAL,,,;",
                                  ",3,DIGITAL,,,;", ",4,DIGITAL,,,;"});

constexpr std::string_view kWorkedExampleFrame = "1B 47 4A 00 28 00 01 71 00 02 1E 01 08 00 01 01 "
                                                 "01 00 00 0F FF 00 01 02 01 00 00 0F FF 00 01 03 "
                                                 "01 00 00 0F FF 00 01 04 01 00 00 0F FF 00 01 01 "
                                                 "0A 00 00 00 00 00 01 02 0A 00 00 00 00 00 01 03 "
                                                 "0A 00 00 00 00 00 01 04 0A 00 00 00 00 90 CE\n";

class Kymtool : public testing::Test {
protected:
    test::ProcessResult run(std::vector<std::string> args) {
        args.insert(args.begin(), KYMTOOL);
        return test::runProcess(args);
    }

    std::string file(const ConfigLines& config) {
        const auto path = dir_ / ("config" + std::to_string(++files_) + ".vlt");
        test::writeFile(path, config.text());
        return path.string();
    }

private:
    test::TempDir dir_;
    int files_ = 0;
};

TEST_F(Kymtool, FramePrintsTheWorkedExampleFrame) {
    const auto result = run({"frame", file(kWorkedExample)});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, kWorkedExampleFrame);
    EXPECT_EQ(result.err, "");
}

TEST_F(Kymtool, FrameByDeviceTypeAndUnit) {
    struct Case {
        std::string deviceType;
        std::vector<std::string> options;
        int exitCode;
        std::string outStart; // of each printed line, in order
        std::size_t lines;
    };
    const std::vector<std::string> rows(24, ",,,,,;");
    const Case cases[] = {
        {"QX4815", {}, 0, "1B 47 6A 00 29", 1},
        {"QX4815", {"--unit", "1"}, 0, "1B 47 6A 00 29", 1},
        {"QX4815", {"--unit", "3"}, 0, "1B 47 4A 00 29", 1},
        {"QR4805", {}, 0, "1B 5C 4A 00 01", 2},
        {"QD4805", {"--unit", "2"}, 0, "1B 47 11 01 FF FF 00 01", 1},
        {"QX-4815", {}, 3, "", 0},
        {"", {}, 3, "", 0},
    };
    for (const auto& c : cases) {
        ConfigLines config(c.deviceType,
                           {rows.begin(), rows.begin() + (c.deviceType == "QX4815" ? 24 : 8)});
        std::vector<std::string> args{"frame", file(config)};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto result = run(args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.deviceType;
        EXPECT_TRUE(result.out.starts_with(c.outStart)) << result.out;
        EXPECT_EQ(std::ranges::count(result.out, '\n'), static_cast<long>(c.lines)) << c.deviceType;
        if (c.lines == 2)
            EXPECT_TRUE(result.out.ends_with("\n1B 4E 01 01 56 E1\n")) << result.out;
        if (c.exitCode == 3)
            EXPECT_NE(result.err.find("no frame for device type"), std::string::npos) << result.err;
    }
}

TEST_F(Kymtool, FrameFailures) {
    const auto failed = run({"frame", file(ConfigLines(kWorkedExample).set("CAPTURE", "256"))});
    EXPECT_EQ(failed.exitCode, 2);
    EXPECT_EQ(failed.out, "");
    EXPECT_NE(failed.err.find(".vlt:2: CAPTURE \"256\" is outside 0 to 255"), std::string::npos)
        << failed.err;

    const auto missing = run({"frame", "/nonexistent/config.vlt"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;

    const auto badUnit = run({"frame", file(kWorkedExample), "--unit", "4"});
    EXPECT_GT(badUnit.exitCode, 3);
    EXPECT_EQ(badUnit.out, "");
}

TEST_F(Kymtool, ImageShowsTheDecodedImage) {
    const auto result = run({"image", file(kWorkedExample)});
    EXPECT_EQ(result.exitCode, 0);
    for (const auto* line :
         {"Device type: QD4815\n", "File status: File is ready to be sent.\n",
          "   1   28  device code: 40\n", "   7   1E  transmitter time-out: 30\n",
          "     0  ANALOG          00 01 01 01 00 00 0F FF  0001     1  1 COUNT              0  "
          "4095\n",
          "    24  (storage only)  00 00 00 00 00 00 00 00", "  12   28  fixed\n"})
        EXPECT_NE(result.out.find(line), std::string::npos) << line << "\n" << result.out;

    const auto failed = run({"image", file(ConfigLines(kWorkedExample).set("TIMEOUT", "300"))});
    EXPECT_EQ(failed.exitCode, 2);
    EXPECT_NE(failed.err.find(":18: TIMEOUT \"300\""), std::string::npos) << failed.err;
    EXPECT_EQ(run({"image", "/nonexistent/config.vlt"}).exitCode, 1);
}

TEST_F(Kymtool, CheckExitCodes) {
    const auto clean = run({"check", file(kWorkedExample)});
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_EQ(clean.out, "");

    const std::string warned = file(ConfigLines(kWorkedExample).set("TIMEOUT", "90"));
    const auto warnings = run({"check", warned});
    EXPECT_EQ(warnings.exitCode, 1);
    EXPECT_EQ(warnings.out,
              warned + ":18: warning: TIMEOUT \"90\" is not in the time-out list\n");

    const std::string broken =
        file(ConfigLines(kWorkedExample).set("TIMEOUT", "90").set("CAPTURE", ""));
    const auto errors = run({"check", broken});
    EXPECT_EQ(errors.exitCode, 2);
    EXPECT_TRUE(errors.out.starts_with(broken + ":2: error: ")) << errors.out;
    EXPECT_NE(errors.out.find(broken + ":18: warning: "), std::string::npos) << errors.out;

    const auto missing = run({"check", "/nonexistent/config.vlt"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.out.starts_with("/nonexistent/config.vlt:0: error: cannot open"))
        << missing.out;
}

} // namespace
} // namespace kym
