#pragma once

#include "support/ConfigLines.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"
#include "transfer/ProgrammingRecord.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kym {

// The file a new "QD4815" document is saved as.
inline const test::ConfigLines kWorkedExample("QD4815", {",1,COUNT,0,4095,;", ",2,COUNT,0,4095,;",
                                                         ",3,COUNT,0,4095,;", ",4,COUNT,0,4095,;",
                                                         ",1,DIGITAL,,,;", ",2,DIGITAL,,,;",
                                                         ",3,DIGITAL,,,;", ",4,DIGITAL,,,;"});

// kymtool run to its end, its home folder in the test's folder; its send tests play the unit with
// kymtool simulate on a pseudo-terminal.
class Kymtool : public testing::Test {
protected:
    Kymtool() { ::setenv("HOME", dir.path().c_str(), 1); }

    test::ProcessResult run(std::vector<std::string> args, const std::string& input = {}) {
        args.insert(args.begin(), KYMTOOL);
        return test::runProcess(args, input);
    }

    std::vector<RecordEntry> record() {
        auto entries = ProgrammingRecord(dir / "kym" / "programming-record.csv").read();
        EXPECT_TRUE(entries) << entries.error().reason;
        return entries ? *entries : std::vector<RecordEntry>{};
    }

    std::string file(const std::string& text) {
        const auto path = dir / ("config" + std::to_string(++files_) + ".vlt");
        test::writeFile(path, text);
        return path.string();
    }
    std::string file(const test::ConfigLines& config) { return file(config.text()); }
    std::string newFile(const std::string& deviceType) {
        const std::string path = (dir / (deviceType + ".vlt")).string();
        EXPECT_EQ(run({"new", deviceType, path}).exitCode, 0);
        return path;
    }

    test::TempDir dir;

private:
    int files_ = 0;
};

} // namespace kym
