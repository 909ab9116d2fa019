#include "dialogs/Options.h"
#include "dialogs/frmMisc.h"
#include "support/MainWindowHarness.h"
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace kym {
namespace {

TEST(Options, ValuesTheUnitCannotTakeAreRefused) {
    const std::pair<std::string, bool> captures[] = {
        {"0", true}, {"255.4", true}, {"256", false}, {"-1", false}, {"", false}, {"12s", false}};
    for (const auto& [text, ok] : captures)
        EXPECT_EQ(!captureProblem(text), ok) << '"' << text << '"';
    const std::pair<std::string, bool> timeouts[] = {
        {"1", true}, {"255", true}, {"0", false}, {"256", false}, {"1.5", false}, {"0030", false}};
    for (const auto& [text, ok] : timeouts)
        EXPECT_EQ(!timeoutProblem(text), ok) << '"' << text << '"';
}

class OptionsDialog : public testing::Test {
protected:
    QComboBox* combo(frmMisc& dialog, const char* name) {
        return dialog.findChild<QComboBox*>(QString::fromLatin1(name));
    }
    std::string text(frmMisc& dialog, const char* name) {
        return combo(dialog, name)->currentText().toStdString();
    }
    void ok(frmMisc& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    }

    ProgramState state;
    test::ScriptedPrompter prompter;
};

// The byte lists show the bytes of the code's last four hexadecimal digits; OK joins the two
// texts, an empty first entry included.
TEST_F(OptionsDialog, CodesComeBackFromOkAsTheirTwoBytes) {
    const std::array<std::string, 4> cases[] = {
        {"171", "01 71", "", "0171"}, {"0002", "00 02", "", "0002"}, {"", "00 01", "", "0001"},
        {"1A2B3", "A2 B3", "", "A2B3"}, {"0005", "00 05", "MSB empty", "05"}};
    for (const auto& [code, shown, pick, stored] : cases) {
        state.header.vendorCode = code;
        frmMisc dialog(state, prompter);
        EXPECT_EQ(text(dialog, "cboVendorCodeMSB") + " " + text(dialog, "cboVendorCodeLSB"), shown);
        EXPECT_EQ(combo(dialog, "cboVendorCodeMSB")->count(), 257);
        if (!pick.empty())
            combo(dialog, "cboVendorCodeMSB")->setCurrentIndex(0);
        ok(dialog);
        EXPECT_EQ(state.header.vendorCode, stored) << code;
    }
}

TEST_F(OptionsDialog, OkStoresEveryControlAndAlwaysMarksTheDocument) {
    frmMisc untouched(state, prompter);
    EXPECT_EQ(text(untouched, "cboTime"), "30");
    EXPECT_EQ(combo(untouched, "cboTime")->currentIndex(), 29);
    EXPECT_EQ(combo(untouched, "cboCaptureTime")->currentIndex(), 0);
    EXPECT_EQ(combo(untouched, "cboCaptureTime")->count(), 241);
    ok(untouched);
    EXPECT_TRUE(state.document.documentChanged);
    EXPECT_EQ(state.header.propertyCode, "0002");
    EXPECT_EQ(state.header.vendorCode, "0171");

    frmMisc dialog(state, prompter);
    combo(dialog, "cboTime")->setEditText(QStringLiteral("90"));
    combo(dialog, "cboCaptureTime")->setEditText(QStringLiteral("250"));
    combo(dialog, "cboNetworkID")->setEditText(QStringLiteral("77"));
    dialog.findChild<QRadioButton*>(QStringLiteral("optOffState"))->click();
    dialog.findChild<QRadioButton*>(QStringLiteral("optTimeMinutes"))->click();
    dialog.findChild<QRadioButton*>(QStringLiteral("optMonitor"))->click();
    ok(dialog);
    const HeaderSettings& h = state.header;
    EXPECT_EQ(h.timeout, "90");
    EXPECT_EQ(h.timeoutNumber, 90);
    EXPECT_EQ(h.captureValue, "250");
    EXPECT_EQ(h.captureNumber, 250);
    EXPECT_EQ(h.networkID, "77");
    EXPECT_EQ(h.lossState, "OFF");
    EXPECT_TRUE(h.captureInMinutes);
    EXPECT_EQ(h.snifferState, "SNIFFER");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(OptionsDialog, AStoredValueWithoutAnEntryIsShownAsText) {
    state.header.timeout = "75";
    state.header.captureValue = "250";
    state.header.networkID = "99";
    frmMisc dialog(state, prompter);
    for (const auto& [name, value] :
         {std::pair{"cboTime", "75"}, std::pair{"cboCaptureTime", "250"}, std::pair{"cboNetworkID", "99"}}) {
        EXPECT_EQ(text(dialog, name), value);
        EXPECT_EQ(combo(dialog, name)->currentIndex(), -1) << name;
    }
}

TEST_F(OptionsDialog, ValuesTheUnitCannotTakeKeepTheDialogOpen) {
    frmMisc dialog(state, prompter);
    combo(dialog, "cboCaptureTime")->setEditText(QStringLiteral("300"));
    ok(dialog);
    combo(dialog, "cboCaptureTime")->setEditText(QStringLiteral("3"));
    combo(dialog, "cboTime")->setEditText(QStringLiteral("0"));
    ok(dialog);
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"The digital capture time must be a number from 0 to 255.",
                                        "The transmitter time-out must be a whole number of minutes from 1 to 255."}));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(state.document.documentChanged);
    EXPECT_EQ(state.header.captureValue, "0");
}

// Cancel stores nothing; OK stores and marks the title. A pasted line break cannot split the
// network ID's line of the file.
TEST(OptionsMenu, SettingsMiscellaneousStoresAndMarksOnlyOnOk) {
    test::MainWindowHarness main;
    const char* button = "btnCancel";
    main.drive = [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Options");
        dialog.findChild<QComboBox*>(QStringLiteral("cboNetworkID"))->setEditText(QStringLiteral("1\n2"));
        dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    };
    main.newDocument("mnuNewConfig");
    main.trigger("mnuMiscellaneous");
    EXPECT_EQ(main.title() + main.state.header.networkID, "Editor - 1");
    button = "btnOK";
    main.trigger("mnuMiscellaneous");
    EXPECT_EQ(main.title() + main.state.header.networkID, "Editor -  *12");
}

} // namespace
} // namespace kym
