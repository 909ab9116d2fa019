#include "FakeSerialPort.h"
#include "config/Paths.h"
#include "support/ConfigLines.h"
#include "support/Controls.h"
#include "support/MainWindowHarness.h"
#include "transfer/Frames.h"
#include "transfer/frmRecord.h"
#include "transfer/frmTransfer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace kym {
namespace {

using test::ConfigLines;
using test::FakeSerialPort;
using Status = std::pair<std::string, QColor>;

const QColor kGreen(0, 255, 0);
// The device COM3 stands for.
#ifdef _WIN32
constexpr std::string_view kCom3 = "COM3";
#else
constexpr std::string_view kCom3 = "/dev/ttyS2";
#endif
const QColor kRed(255, 0, 0);

class TransferWindow : public testing::Test {
protected:
    TransferWindow() {
        auto port = std::make_unique<FakeSerialPort>(record);
        fake = port.get();
        window = std::make_unique<frmTransfer>(
            state, Services{prompter, dialogs, [](QDialog&) { return 0; }, Folders(dir / "kym")},
            std::move(port));
    }

    template <class Widget = QWidget> Widget* child(const char* name) {
        return &test::child<Widget>(*window, name);
    }
    void click(const char* name) { child<QAbstractButton>(name)->click(); }
    bool shown(const char* name) { return child(name)->isVisibleTo(window.get()); }
    // The buttons that may be pressed now, of those a send locks.
    std::string enabled() {
        std::string names;
        for (const char* name : {"openPort", "closePort", "btnSelect", "btnSendFile"})
            if (child(name)->isEnabled())
                names += names.empty() ? name : std::string(" ") + name;
        return names;
    }
    // A status box's text and background.
    Status box(const char* name) {
        const auto* edit = child<QLineEdit>(name);
        return {edit->text().toStdString(), edit->palette().color(QPalette::Base)};
    }
    QColor system(QPalette::ColorRole role) {
        return QApplication::palette(child("txtStatus")).color(role);
    }
    std::string traffic() {
        return child<QPlainTextEdit>("txtTraffic")->toPlainText().toStdString();
    }

    void openPort(const char* entry = "COM1") {
        child<QComboBox>("portChoice")->setCurrentText(QString::fromLatin1(entry));
        click("openPort");
    }
    void select(std::optional<std::filesystem::path> path) {
        dialogs.choices.push_back(std::move(path));
        click("btnSelect");
    }
    // Files live in a folder and under a name with letters outside ASCII.
    std::filesystem::path write(const ConfigLines& config,
                                const std::string& name = "J\u00fcrgen.vlt") {
        const auto folder = dir.path() / pathFromUtf8("Z\u00fcrich");
        std::filesystem::create_directories(folder);
        test::writeFile(folder / pathFromUtf8(name), config.text());
        return folder / pathFromUtf8(name);
    }

    test::TempDir dir;
    ProgramState state;
    test::ScriptedPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    FakeSerialPort::Record record;
    FakeSerialPort* fake = nullptr;
    std::unique_ptr<frmTransfer> window;
};

// Opening, a port, a file for an extender system, a unit choice and an acknowledged send.
TEST_F(TransferWindow, SendsAPickedFile) {
    test::expectNamedControls(*window);
    std::filesystem::create_directories(dir / "kym");
    EXPECT_EQ(child<QAbstractButton>("btnGetFile")->text().toStdString(),
              "Get File (returned as " + (dir / "kym" / "_config.cfg").string());
    const auto* ports = child<QComboBox>("portChoice");
    EXPECT_EQ(ports->count(), 9);
    EXPECT_EQ(ports->itemText(8).toStdString(), "/dev/ttyUSB0");
    EXPECT_EQ(ports->currentText().toStdString(), "COM1");
    EXPECT_EQ(box("txtStatus"), Status("Disconnected", system(QPalette::Base)));
    EXPECT_FALSE(child("btnGetFile")->isEnabled());
    EXPECT_FALSE(shown("ExtenderFrame"));

    const ConfigLines extender("QX4815", std::vector<std::string>(24, "1,,,,,;"));
    const auto picked = write(extender);
    select(picked);
    const auto& request = dialogs.requests.at(0).request;
    const auto folder = dir / "kym" / "kym3815";
    EXPECT_EQ(
        std::tie(request.title, request.filterDescription, request.filterPattern,
                 request.directory),
        std::tuple("Select File", "Config files " + (folder / "*.vlt").string(), "*.vlt", folder));
    EXPECT_EQ(box("txtFileStatus"), Status("File is ready to be sent.", kGreen));
    EXPECT_TRUE(shown("ExtenderFrame"));
    EXPECT_TRUE(child<QRadioButton>("optMainUnit")->isChecked());
    // A cancelled choice keeps the file.
    select(std::nullopt);
    EXPECT_EQ(box("txtFileName").first, utf8Of(picked));

    click("optExt2");
    EXPECT_EQ(state.selectedUnit, kExtendedUnit2);
    openPort("COM3");
    EXPECT_EQ(record.portName, kCom3);
    EXPECT_EQ(record.settings, "19200,N,8,1");
    EXPECT_EQ(box("txtStatus"), Status("COM 3: Open at 19200,N,8,1", kGreen));
    click("btnSendFile");
    EXPECT_EQ(record.written.size(), 79u); // an extended unit's frame, not the main unit's 111
    fake->arrive({0x1B, 0x47, 0x4A});
    fake->arrive({0x06, 0x39, 0xAB});
    EXPECT_EQ(box("txtCommStatus"), Status("Acknowledge Received", kGreen));
    EXPECT_EQ(enabled(), "closePort btnSelect btnSendFile");
    EXPECT_NE(traffic().find("sent     1B 47 4A 00 29"), std::string::npos) << traffic();
    EXPECT_NE(traffic().find("received 06 39 AB"), std::string::npos) << traffic();
    const auto lines = ProgrammingRecord(dir / "kym" / "programming-record.csv").read();
    ASSERT_TRUE(lines && lines->size() == 1);
    EXPECT_EQ(lines->at(0).unit + ", " + lines->at(0).outcome, "extended 2, Acknowledge Received");

    click("btnClearStatus");
    EXPECT_EQ(box("txtCommStatus"), Status("", system(QPalette::Base)));
    EXPECT_EQ(traffic(), "");
}

// The status box keeps its short text; the message box says which line of which file and why.
TEST_F(TransferWindow, AFileThatCannotBeSentIsExplainedInAMessageBox) {
    select(write(ConfigLines("QX4815")));
    const auto bad = write(ConfigLines("KYM3815").set("CAPTURE", "300"), "bad.vlt");
    select(bad);
    const std::string message = utf8Of(bad) + ":2: CAPTURE \"300\" is outside 0 to 255";
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, message);
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Exclamation);
    EXPECT_EQ(box("txtFileStatus"), Status("Error reading file ", system(QPalette::Dark)));
    EXPECT_FALSE(shown("ExtenderFrame"));
    EXPECT_NE(traffic().find(message), std::string::npos) << traffic();
}

// The reason (the session's test has the texts) is the tooltip until a port opens.
TEST_F(TransferWindow, AFailedOpenSaysWhyInTheTooltipAndTheTraffic) {
    record.opens = false;
    record.failure = OpenFailure::Busy;
    record.error = "Permission error while locking the device";
    openPort("COM3");
    const std::string reason = std::string(kCom3) +
                               ": Permission error while locking the device. Another program is "
                               "using the port: close it there or choose another port.";
    EXPECT_EQ(box("txtStatus"), Status("Cannot open:  COM 3", kRed));
    EXPECT_EQ(child("txtStatus")->toolTip().toStdString(), reason);
    EXPECT_NE(traffic().find(reason), std::string::npos) << traffic();
    record.opens = true;
    openPort("COM3");
    EXPECT_EQ(child("txtStatus")->toolTip().toStdString(), "");
}

// Without a kym folder the record cannot be written: the send is acknowledged all the same.
TEST_F(TransferWindow, ARecordThatCannotBeWrittenIsReportedAndChangesNothingElse) {
    select(write(ConfigLines("KYM3815")));
    openPort();
    click("btnSendFile");
    fake->arrive({0x1B, 0x47, 0x4A, 0x06, 0x39, 0xAB});
    EXPECT_EQ(box("txtCommStatus"), Status("Acknowledge Received", kGreen));
    // The system's reason follows.
    const std::string problem = "The programming record " +
                                utf8Of(dir / "kym" / "programming-record.csv") +
                                " was not written: ";
    const std::string tip = child("txtCommStatus")->toolTip().toStdString();
    EXPECT_TRUE(tip.starts_with(problem) && tip.size() > problem.size()) << tip;
    EXPECT_NE(traffic().find(tip), std::string::npos) << traffic();
}

TEST_F(TransferWindow, ClosingDuringASendStopsItAndReleasesThePort) {
    select(write(ConfigLines("QR4805")));
    openPort();
    click("btnSendFile");
    const std::size_t sent = record.written.size();
    window->reject();
    EXPECT_FALSE(record.open);
    // Neither this acknowledgement nor the one-second pause that would follow lead anywhere.
    fake->arrive({0x1B});
    QSignalSpy ended(window.get(), &frmTransfer::sendEnded);
    EXPECT_FALSE(ended.wait(1200));
    EXPECT_EQ(record.written.size(), sent);
}

// File > File Transfer opens this window (a save that vetoes it is the lifecycle's test). File >
// Programming Record shows the newest send first; Open File opens its file in the editor.
TEST_F(TransferWindow, TheFileMenuOpensItAndTheRecordWindow) {
    std::filesystem::create_directories(dir / "kym");
    const ProgrammingRecord programmingRecord(dir / "kym" / "programming-record.csv");
    const auto older = write(ConfigLines("KYM3815"), "older.vlt");
    ASSERT_TRUE(programmingRecord.append({"", "QR4805", "", "COM1", "gone.vlt", "", 79, "", "x"}));
    ASSERT_TRUE(
        programmingRecord.append({"", "KYM3815", "", "COM2", utf8Of(older), "", 79, "", "y"}));
    std::vector<std::string> rows;
    int opened = 0;
    const auto runner = [&](QDialog& dialog) {
        if (dialog.objectName() == QStringLiteral("frmTransfer")) {
            ++opened;
            return 0;
        }
        auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("tblRecord"));
        for (int row = 0; table && row < table->rowCount(); ++row)
            rows.push_back(table->item(row, 3)->text().toStdString() + " " +
                           table->item(row, 4)->text().toStdString());
        test::expectNamedControls(dialog);
        table->selectRow(0);
        dialog.findChild<QAbstractButton*>(QStringLiteral("btnOpenFile"))->click();
        return dialog.result();
    };
    test::MemorySettings settings;
    FlexGrid editor(state, Services{prompter, dialogs, runner, Folders(dir / "kym")}, settings,
                    [&] { return std::make_unique<FakeSerialPort>(record); });
    test::menuEntry(editor, "mnuFileTransfer")->trigger();
    EXPECT_EQ(opened, 1);
    test::menuEntry(editor, "mnuProgrammingRecord")->trigger();
    EXPECT_EQ(rows, (std::vector<std::string>{"COM2 " + utf8Of(older), "COM1 gone.vlt"}));
    EXPECT_EQ(state.document.currentFilePath, utf8Of(older));
}

} // namespace
} // namespace kym
