#include "config/ConfigFile.h"
#include "config/Paths.h"
#include "support/FailingSave.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

// A save replaces the earlier file in one step or leaves it whole, and leaves no temporary file
// behind. The bytes are written as given: a text-mode write on Windows would double CR LF.
TEST(WriteFileAtomically, ReplacesTheEarlierFileOrKeepsItWhole) {
    const std::string text = "DEVICE_TYPE\r\nQX4815\r\n\r\n";
    const struct {
        std::string name, earlier, target; // earlier empty: no file before the save
        std::string after;                 // empty: the save fails
        bool fillerFails = false, targetFails = false;
    } cases[] = {
        {"new file", "", "a.vlt", text},
        {"over an existing file", "old\r\n", "a.vlt", text},
        {"the filler fails", "old\r\n", "a.vlt", "", true},
        {"the folder is missing", "", "missing/a.vlt", ""},
        {"the target cannot be written", "old\r\n", "a.vlt", "", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const auto path = dir / c.target;
        using enum std::filesystem::perms;
        if (!c.earlier.empty()) {
            test::writeFile(path, c.earlier);
            std::filesystem::permissions(path, owner_read | owner_write | group_read);
        }
        const auto save = [&] {
            return c.fillerFails
                       ? writeFileAtomically(
                             path, [](const FileSink& sink) { return sink("half") && false; })
                       : writeFileAtomically(path, text);
        };
        const auto saved = c.targetFails ? test::withFailingSave(path, save) : save();
        EXPECT_EQ(saved.ok()                     ? "saved"
                  : saved.error().reason.empty() ? "no reason"
                                                 : "failed",
                  c.after.empty() ? "failed" : "saved");
        EXPECT_EQ(test::readFile(path), c.after.empty() ? c.earlier : c.after);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
                  std::filesystem::exists(path) ? 1 : 0);
#ifndef _WIN32
        if (!c.earlier.empty()) { // the mode of the file it replaces, 0640
            EXPECT_EQ(std::filesystem::status(path).permissions(),
                      owner_read | owner_write | group_read);
        }
#endif
    }
}

// Names reach the file system as UTF-8 on every system: a folder and a file with letters outside
// the ANSI code page are written, found and read back.
TEST(Paths, AFileNameWithNonAsciiLettersRoundTrips) {
    test::TempDir dir;
    const std::string folder = utf8Of(dir.path()) + "/Zürich Ωmega";
    const std::string name = folder + "/Käse €.vlt";
    std::filesystem::create_directory(pathFromUtf8(folder));
    ASSERT_TRUE(writeFileAtomically(pathFromUtf8(name), "CAPTURE\r\n5\r\n").ok());
    const auto lines = readLineFile(pathFromUtf8(name));
    ASSERT_TRUE(lines.ok());
    EXPECT_EQ(lines->at(2), "5");
    const auto found = *std::filesystem::directory_iterator(pathFromUtf8(folder));
    EXPECT_EQ(utf8Of(found.path().filename()), "Käse €.vlt");
}

} // namespace
} // namespace kym
