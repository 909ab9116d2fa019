#include "editor/DocumentLifecycle.h"

#include "config/ConfigFile.h"
#include "config/DeviceTypes.h"
#include "editor/GridEditing.h"
#include "editor/RecentFiles.h"
#include "editor/ViewState.h"
#include "editor/WindowPlacement.h"
#include "support/ConfigLines.h"
#include "support/FailingSave.h"
#include "support/MemorySettings.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

using Answer = Prompter::Answer;
using Outcome = DocumentLifecycle::Outcome;
using Texts = std::vector<std::string>;
const std::string kUpper(prompt::kSaveChangesUpper);
const std::string kCompat(prompt::kCompatibilityChange);

class Lifecycle : public testing::Test {
protected:
    Lifecycle() : folders(dir / "kym"), lifecycle(state, prompter, dialogs, folders) {
        lifecycle.startUp();
    }

    std::filesystem::path file(const std::string& name) const { return folders.kym3815() / name; }

    void newDocument(const std::string& type) {
        lifecycle.chooseDeviceType(type);
        ASSERT_EQ(lifecycle.startNewDocument(), Outcome::Done);
    }
    Outcome saveTo(const std::string& name) {
        dialogs.choices = {file(name)};
        return lifecycle.save();
    }
    Outcome open(const std::string& name, const std::string& text) {
        test::writeFile(file(name), text);
        dialogs.choices = {file(name)};
        return lifecycle.OpenDocument();
    }
    void edit(int row, int col, const std::string& text) {
        state.grid.setRow(row);
        state.grid.setCol(col);
        state.grid.setText(text);
        lifecycle.MarkChanged();
    }
    bool changed() const { return lifecycle.history().changed(); }
    std::string title() const { return viewStateOf(state, lifecycle.history()).title; }

    test::TempDir dir;
    ProgramState state;
    test::ScriptedPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    Folders folders;
    DocumentLifecycle lifecycle;
};

// A read that stops part-way shows what it had applied; a type outside the five leaves the boxes
// as they were; a mark needs a document, so the start-up table is never offered for saving.
TEST_F(Lifecycle, TheViewFollowsEveryFlow) {
    const auto opening = [this](const std::string& name, const std::string& text) {
        return [this, name, text] { open(name, text); };
    };
    const std::string design(kDesignCaption);
    const std::string qr = "&Compatibility(QR4805) QR4805";
    // The Compatibility caption and the checked type; "+" for on: the six boxes in FlexGrid order,
    // control variants shown, Settings enabled, a mark possible; the title.
    using Case =
        std::tuple<const char*, std::function<void()>, std::string, std::string, std::string>;
    const Case cases[] = {
        {"start-up", [] {}, "&DeviceType ", "++++++ +--", design},
        {"first choice", [this] { lifecycle.chooseDeviceType("QR4805"); }, qr, "++++++ +--",
         design},
        {"read without a table", opening("head.vlt", "FILE_TYPE\r\nPLAIN\r\n"), qr, "++++++ --+",
         "Editor - head.vlt"},
        {"New", [this] { lifecycle.startNewDocument(); }, qr, "++---- -++", "Editor - "},
        {"read that stops after its type",
         opening("stop.vlt", "FILE_TYPE\r\nFACTORY\r\nDEVICE_TYPE\r\nQD4815\r\nROW_DATA\r\nx\r\n"),
         "&Compatibility(QD4815) QD4815", "++---- +++", "Editor - stop.vlt"},
        {"type outside the five",
         opening("odd.vlt", "DEVICE_TYPE\r\n\r\nCOLUMN_NAMES\r\n5\r\n\r\n"), "&Compatibility() ",
         "++---- +++", "Editor - odd.vlt"},
        {"change of type", [this] { lifecycle.chooseDeviceType("QD4805"); },
         "&Compatibility(QD4805) QD4805", "+----- +++", "Editor - "},
        {"edit", [this] { edit(5, 1, "12"); }, "&Compatibility(QD4805) QD4805", "+----- +++",
         "Editor -  *"},
    };
    prompter.answers = {Answer::No}; // for the change of type
    for (const auto& [name, step, menu, flags, title] : cases) {
        SCOPED_TRACE(name);
        step();
        const ViewState view = viewStateOf(state, lifecycle.history());
        ProgramState marked = state;
        EditHistory probe(marked);
        probe.markWithoutEdit();
        const EditBoxEnables& b = view.boxes;
        std::string on;
        for (bool enabled : {b.transId, b.channel, b.dataAnalog, b.dataDigital, b.start, b.end,
                             view.controlVariantsVisible, view.settingsEnabled, probe.changed()})
            on += enabled ? '+' : '-';
        EXPECT_EQ(view.compatibilityCaption + " " + view.checkedDeviceType, menu);
        EXPECT_EQ(on.insert(6, " "), flags);
        EXPECT_EQ(view.title, title);
    }
}

// The first choice only records the type; later ones ask (a change of type, or the changed
// table of the same type) and rebuild.
TEST_F(Lifecycle, NewNeedsADeviceTypeAndLaterChoicesAskAndRebuildAnEmptyTable) {
    EXPECT_TRUE(std::filesystem::is_directory(folders.kym3815()));
    EXPECT_EQ(lifecycle.startNewDocument(), Outcome::Cancelled);
    EXPECT_FALSE(state.gridVisible);
    lifecycle.chooseDeviceType("QR4805");
    prompter.answers = {Answer::No, Answer::No};
    lifecycle.chooseDeviceType("QX4815");
    EXPECT_EQ(state.grid.rows(), 25);
    edit(1, 1, "AB");
    lifecycle.chooseDeviceType("QX4815");
    EXPECT_EQ(prompter.texts(),
              (Texts{"Select a Device Type from the 'Compatibility' Menu.", kCompat, kUpper}));
    EXPECT_EQ(state.grid.cell(1, 1), "");
    EXPECT_FALSE(changed());
    EXPECT_EQ(state.document.documentDeviceType, "QX4815");
}

// A first choice after opening a file asks too; a change saves the old table with its own type.
TEST_F(Lifecycle, ADeviceTypeChangeAfterOpeningAsksAndSavesTheOldTableWithItsType) {
    ASSERT_EQ(open("a.vlt", "DEVICE_TYPE\r\nQR4805\r\n"), Outcome::Done);
    prompter.answers = {Answer::No};
    lifecycle.chooseDeviceType("KYM3815");
    EXPECT_EQ(prompter.texts(), Texts{kCompat});
    EXPECT_EQ(state.document.documentDeviceType, "KYM3815");
    EXPECT_FALSE(state.grid.rowHidden(1));
    edit(2, 1, "1F");
    prompter.answers = {Answer::Yes};
    dialogs.choices = {file("old.vlt")};
    lifecycle.chooseDeviceType("QR4805");
    const auto lines = splitLines(test::readFile(file("old.vlt")));
    EXPECT_EQ(lines[4], "KYM3815");
    EXPECT_EQ(lines[27], "1F,,,,,;");
    EXPECT_EQ(state.header.deviceType, "QR4805");
    EXPECT_TRUE(state.grid.rowHidden(1));
}

// A flow whose accepted save does not happen is abandoned: run gives false.
TEST_F(Lifecycle, AnAcceptedSaveThatDoesNotHappenAbandonsTheFlow) {
    DocumentLifecycle& l = lifecycle;
    const std::pair<const char*, std::function<bool()>> cases[] = {
        {"New", [&] { return l.startNewDocument() == Outcome::Done; }},
        {"Open", [&] { return l.OpenDocument() != Outcome::Failed; }},
        {"device type",
         [&] {
             l.chooseDeviceType("QD4815");
             return state.header.deviceType == "QD4815";
         }},
        {"File Transfer", [&] { return l.prepareFileTransfer(); }},
        {"Exit", [&] { return l.exitRequested(); }},
        {"closing", [&] { return l.closeRequested(); }},
    };
    for (const auto& [name, run] : cases) {
        SCOPED_TRACE(name);
        lifecycle.chooseDeviceType("KYM3815");
        lifecycle.startNewDocument();
        edit(3, 1, "77");
        prompter.answers = {Answer::Yes};
        dialogs.choices = {std::nullopt}; // Save As cancelled
        EXPECT_FALSE(run());
        EXPECT_TRUE(changed());
        EXPECT_EQ(state.grid.cell(3, 1), "77");
        EXPECT_EQ(state.header.deviceType, "KYM3815");
        EXPECT_EQ(title(), "Editor -  *");
        lifecycle.history().changesDropped();
        prompter.shown.clear();
    }
}

// A cancelled or failed Open changes nothing; a file that lacks a setting leaves it at its start
// value, and the gateway address too.
TEST_F(Lifecycle, OpenResetsTheSettingsOnlyOnceAFileIsOpenAndSaveNamesTheFile) {
    newDocument("KYM3815");
    state.header.captureValue = "9";
    state.header.snifferState = "SNIFFER";
    state.gateway.gatewayIP = "10.0.0.9";
    dialogs.choices = {std::nullopt, file("missing.vlt")};
    EXPECT_EQ(lifecycle.OpenDocument(), Outcome::Cancelled);
    EXPECT_EQ(lifecycle.OpenDocument(), Outcome::Failed);
    EXPECT_EQ(prompter.texts(), Texts{"No such file or directory"});
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Exclamation);
    EXPECT_EQ(state.header.captureValue + state.header.snifferState + state.gateway.gatewayIP,
              "9SNIFFER10.0.0.9");
    EXPECT_FALSE(state.document.hasFileName);
    EXPECT_EQ(dialogs.requests[0].request.title, "Open Register Configuration");
    EXPECT_EQ(dialogs.requests[0].request.directory, folders.kym3815());

    state.header.timeout = "45";
    state.gateway.gatewaySubnet = "255.0.0.0";
    const auto lacking =
        test::ConfigLines("KYM3815").drop("CAPTURE").drop("SNIFFER_STATE").drop("TIMEOUT");
    ASSERT_EQ(open("lacking.vlt", lacking.text()), Outcome::Done) << prompter.texts().back();
    EXPECT_EQ((Texts{state.header.captureValue, state.header.timeout, state.header.snifferState,
                     state.gateway.gatewayIP, state.gateway.gatewaySubnet}),
              (Texts{"0", "30", "", "192.168.0.1", "255.255.255.0"}));

    open("bad.vlt", "DEVICE_TYPE\r\nQX4815\r\nNETWORK_ID\r\n9\r\nCOLUMN_NAMES\r\nfive\r\n");
    EXPECT_EQ(prompter.texts().back(),
              "bad.vlt, line 6: COLUMN_NAMES count \"five\" is not a number");
    EXPECT_EQ(state.header.networkID + state.document.documentDeviceType, "9QX4815");
    EXPECT_EQ(title(), "Editor - bad.vlt");
    EXPECT_TRUE(state.ignoreNextChange);

    // Save of a new document runs Save As; Save As names the file with its path until a mark.
    lifecycle.startNewDocument();
    edit(1, 2, "3");
    dialogs.choices = {std::nullopt, file("n")};
    EXPECT_EQ(lifecycle.save(), Outcome::Cancelled);
    EXPECT_TRUE(changed());
    EXPECT_EQ(lifecycle.save(), Outcome::Done);
    EXPECT_EQ(title(), "Editor - n.vlt");
    const auto& request = dialogs.requests.back().request;
    EXPECT_EQ(request.title + " " + request.fileName + " " + request.filterPattern,
              "Save Register Configuration " + file("config.vlt").string() + " *.vlt");
    edit(1, 2, "4");
    EXPECT_EQ(lifecycle.save(), Outcome::Done);
    EXPECT_EQ(splitLines(test::readFile(file("n.vlt")))[26], ",4,,,,;");

    dialogs.choices = {file("site.vlt")};
    ASSERT_EQ(lifecycle.saveAs(), Outcome::Done);
    EXPECT_EQ(title(), "Editor: " + file("site.vlt").string());
    lifecycle.MarkChanged();
    EXPECT_EQ(title(), "Editor - site.vlt *");
    EXPECT_EQ(test::withFailingSave(file("site.vlt"), [&] { return lifecycle.save(); }),
              Outcome::Failed);
    EXPECT_TRUE(changed());
    EXPECT_EQ(prompter.shown.back().icon, Prompter::Icon::Exclamation);
}

TEST_F(Lifecycle, NewKeepsSomeSettingsAndExitAndClosingAskOnce) {
    newDocument("KYM3815");
    HeaderSettings& h = state.header;
    h = {"KYM3815", "FACTORY", "5", 5, true, "OFF", "SNIFFER", "0001", "0003", "9", 9, "12"};
    lifecycle.startNewDocument();
    EXPECT_TRUE(h.captureInMinutes);
    EXPECT_EQ(h.networkID + h.fileType + " " + h.captureValue + h.timeout + h.lossState +
                  h.snifferState + h.vendorCode + h.propertyCode,
              "12FACTORY 030LAST1710002");
    edit(1, 1, "1");
    prompter.answers = {Answer::No, Answer::No};
    EXPECT_TRUE(lifecycle.exitRequested());
    EXPECT_TRUE(lifecycle.closeRequested());
    EXPECT_TRUE(lifecycle.closeRequested());
    EXPECT_EQ(prompter.texts(), (Texts{"Do you want to save your changes.", kUpper}));
}

// After each step: the TRANSMITTER ID of row 3 with the time-out, the title and the names the Edit
// menu shows. A dialog OK that marks without a change is a step, so undo takes the mark back; a
// pick of the text a cell holds marks without one; the first pick after Open is absorbed.
TEST_F(Lifecycle, TheHistoryWalksItsStepsAndKnowsTheSavedState) {
    newDocument("KYM3815");
    EditHistory& history = lifecycle.history();
    GridEditing editing(state, history, [this] { lifecycle.MarkChanged(); });
    const auto pick = [&](const std::string& id) {
        state.grid.setRow(3);
        state.grid.setCol(kColTransmitterId);
        editing.clicked();
        editing.picked(EditBox::TransId, id);
    };
    const auto undo = [&] { history.undo(); };
    const auto redo = [&] { history.redo(); };
    const auto dialogOk = [&](const char* name, EditHistory::Mark mark) {
        return [&, name, mark] { history.record(name, history.snapshot(), mark); };
    };
    const std::string id = "TRANSMITTER ID in row 3";
    using Step = std::tuple<const char*, std::function<void()>, std::string, std::string,
                            std::string, std::string>;
    const Step steps[] = {
        {"pick", [&] { pick("1A"); }, "1A 30", "Editor -  *", id, ""},
        {"pick again", [&] { pick("2B"); }, "2B 30", "Editor -  *", id, ""},
        {"undo", undo, "1A 30", "Editor -  *", id, id},
        {"undo to the new document", undo, " 30", "Editor - ", "", id},
        {"redo", redo, "1A 30", "Editor -  *", id, id},
        {"save", [&] { saveTo("s.vlt"); }, "1A 30", "Editor - s.vlt", id, id},
        {"undo past the save", undo, " 30", "Editor - s.vlt *", "", id},
        {"redo to the save", redo, "1A 30", "Editor - s.vlt", id, id},
        {"undo again", undo, " 30", "Editor - s.vlt *", "", id},
        {"a new branch drops the saved state", [&] { pick("3C"); }, "3C 30", "Editor - s.vlt *", id,
         ""},
        {"Options",
         [&] {
             DocumentSnapshot before = history.snapshot();
             state.header.timeout = "45";
             history.record("Options", std::move(before));
         },
         "3C 45", "Editor - s.vlt *", "Options", ""},
        {"undo Options", undo, "3C 30", "Editor - s.vlt *", id, "Options"},
        {"New", [&] { lifecycle.startNewDocument(); }, " 30", "Editor - ", "", ""},
        {"a setpoint OK that changed nothing",
         dialogOk("Setpoint Range", EditHistory::Mark::IfChanged), " 30", "Editor - ", "", ""},
        {"an Options OK that changed nothing", dialogOk("Options", EditHistory::Mark::Always),
         " 30", "Editor -  *", "Options", ""},
        {"undo the Options OK", undo, " 30", "Editor - ", "", "Options"},
        {"a pick of the text the cell holds", [&] { pick(""); }, " 30", "Editor -  *", "",
         "Options"},
        {"save the new document", [&] { saveTo("t.vlt"); }, " 30", "Editor - t.vlt", "", "Options"},
        {"Open", [&] { open("o.vlt", "DEVICE_TYPE\r\nKYM3815\r\nCOLUMN_NAMES\r\n5\r\n\r\n"); },
         " 30", "Editor - o.vlt", "", ""},
        {"the first pick after Open", [&] { pick("4D"); }, "4D 30", "Editor - o.vlt", id, ""},
        {"undo to the file", undo, " 30", "Editor - o.vlt", "", id},
        {"redo the first pick", redo, "4D 30", "Editor - o.vlt", id, ""},
        {"the next pick marks", [&] { pick("5E"); }, "5E 30", "Editor - o.vlt *", id, ""},
        {"undo to the first pick", undo, "4D 30", "Editor - o.vlt", id, id},
    };
    prompter.answers = {Answer::No}; // for New
    for (const auto& [name, act, shown, titled, undoName, redoName] : steps) {
        SCOPED_TRACE(name);
        act();
        EXPECT_EQ(state.grid.cell(3, kColTransmitterId) + " " + state.header.timeout, shown);
        EXPECT_EQ(title(), titled);
        EXPECT_EQ(history.undoName(), undoName);
        EXPECT_EQ(history.redoName(), redoName);
    }
}

TEST(RecentFiles, NewestFirstWithoutRepeatsUpToEightAndStoredAtOnce) {
    test::MemorySettings settings;
    settings.values["recentFiles"] = {"b.vlt", "", "a.vlt", "b.vlt"};
    RecentFiles recent(settings);
    EXPECT_EQ(recent.paths(), (Texts{"b.vlt", "a.vlt"}));

    recent.add("a.vlt");
    EXPECT_EQ(recent.paths(), (Texts{"a.vlt", "b.vlt"}));
    for (const char* name : {"1", "2", "3", "4", "5", "6", "7"})
        recent.add(name);
    EXPECT_EQ(recent.paths(), (Texts{"7", "6", "5", "4", "3", "2", "1", "a.vlt"}));
    recent.remove("3");
    EXPECT_EQ(RecentFiles(settings).paths(), (Texts{"7", "6", "5", "4", "2", "1", "a.vlt"}));
    recent.clear();
    EXPECT_TRUE(RecentFiles(settings).paths().empty());
}

// A 1000x700 available area at (0, 30), in device pixels.
TEST(WindowPlacement, CentredAndShrunkIntoTheAvailableArea) {
    const WindowRect area{0, 30, 1000, 700};
    const std::tuple<const char*, int, int, double, WindowRect> rows[] = {
        {"fits", 800, 500, 1, {100, 130, 800, 500}},
        {"wider", 1200, 500, 1, {0, 130, 1000, 500}},
        {"taller", 800, 900, 1, {100, 30, 800, 700}},
        {"both", 1200, 900, 1, {0, 30, 1000, 700}},
        {"scaled to 200 %", 833, 660, 2, {0, 15, 500, 350}},
        {"scaled, fits", 400, 300, 2, {50, 40, 400, 300}},
    };
    for (const auto& [name, width, height, scale, expected] : rows) {
        SCOPED_TRACE(name);
        const WindowRect placed = placeWindow(area, width, height, scale);
        EXPECT_EQ(placed, expected)
            << placed.left << "," << placed.top << " " << placed.width << "x" << placed.height;
    }
}

} // namespace
} // namespace kym
