#include "config/ProgramState.h"
#include "editor/DocumentLifecycle.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>

namespace kym {
namespace {

// A stored gateway setting changes the document only once there is one: a setting made before
// New or Open must not offer to save the start-up table.
TEST(SettingsChange, MarksTheDocumentOnlyOnceOneExists) {
    test::TempDir dir;
    const Folders folders(dir / "kym");
    const auto file = folders.kym3815() / "h.vlt";
    using Steps = std::function<void(DocumentLifecycle&, test::ScriptedFileDialogs&)>;
    const struct {
        const char* name;
        Steps steps;
        bool exists;
    } cases[] = {
        {"start-up", [](auto&, auto&) {}, false},
        {"device type chosen", [](auto& life, auto&) { life.chooseDeviceType("KYM3815"); }, false},
        {"open cancelled",
         [](auto& life, auto& dialogs) {
             dialogs.choices = {std::nullopt};
             life.OpenDocument();
         },
         false},
        {"new",
         [](auto& life, auto&) {
             life.chooseDeviceType("QD4805");
             life.startNewDocument();
         },
         true},
        {"file without a table opened",
         [&file](auto& life, auto& dialogs) {
             dialogs.choices = {file};
             life.OpenDocument();
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramState state;
        test::ScriptedPrompter prompter;
        test::ScriptedFileDialogs dialogs;
        DocumentLifecycle lifecycle(state, prompter, dialogs, folders);
        lifecycle.startUp();
        test::writeFile(file, "DEVICE_TYPE\r\nQR4805\r\n");
        c.steps(lifecycle, dialogs);
        EXPECT_EQ(documentExists(state), c.exists);
        markSettingsChanged(state);
        EXPECT_EQ(state.document.documentChanged, c.exists);
    }
}

} // namespace
} // namespace kym
