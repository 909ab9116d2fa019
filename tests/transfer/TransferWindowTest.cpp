#include "support/ConfigLines.h"
#include "support/Controls.h"
#include "support/MainWindowHarness.h"
#include "transfer/frmTransfer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace kym {
namespace {

using test::ConfigLines;
using Status = std::pair<std::string, QColor>;

const QColor kGreen(0, 255, 0);
// The device COM3 stands for.
#ifdef _WIN32
constexpr std::string_view kCom3 = "COM3";
#else
constexpr std::string_view kCom3 = "/dev/ttyS2";
#endif

// A port without a line, beside one detected adapter; each written byte leaves on the next
// event-loop turn, as on a real port.
class FakeSerialPort : public SerialPort {
public:
    void setPortName(const std::string& location) override { portName = location; }
    void setSettings(std::string_view) override {}
    bool open() override { return opened = error.empty() && !portName.empty(); }
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    void write(std::uint8_t byte) override {
        sent.push_back(byte);
        QTimer::singleShot(0, this, [this] { Q_EMIT written(); });
    }
    std::vector<std::uint8_t> read() override { return std::exchange(arrived, {}); }
    void discardReceived() override { arrived.clear(); }
    std::string errorString() const override { return error; }
    OpenFailure openFailure() const override { return failure; }
    std::vector<std::string> detectedPorts() const override { return {"/dev/ttyUSB0"}; }

    void arrive(const std::vector<std::uint8_t>& bytes) {
        arrived.insert(arrived.end(), bytes.begin(), bytes.end());
        Q_EMIT readyRead();
    }

    // Opening fails while error, the system's words, is not empty.
    OpenFailure failure = OpenFailure::Other;
    std::string error, portName;
    std::vector<std::uint8_t> sent, arrived;
    bool opened = false;
};

class TransferWindow : public testing::Test {
protected:
    template <class Widget = QWidget> Widget* child(const char* name) {
        return &test::child<Widget>(window, name);
    }
    void click(const char* name) { child<QAbstractButton>(name)->click(); }
    bool shown(const char* name) { return child(name)->isVisibleTo(&window); }
    std::string tip(const char* name) { return child(name)->toolTip().toStdString(); }
    Status box(const char* name) {
        const auto* edit = child<QLineEdit>(name);
        return {edit->text().toStdString(), edit->palette().color(QPalette::Base)};
    }
    std::string traffic() {
        return child<QPlainTextEdit>("txtTraffic")->toPlainText().toStdString();
    }
    bool logged(const std::string& text) { return traffic().find(text) != std::string::npos; }

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
        const auto path = dir.path() / pathFromUtf8("Z\u00fcrich") / pathFromUtf8(name);
        std::filesystem::create_directories(path.parent_path());
        test::writeFile(path, config.text());
        return path;
    }

    const QPalette system = QApplication::palette("QLineEdit");
    test::TempDir dir;
    ProgramState state;
    test::ScriptedPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    std::unique_ptr<FakeSerialPort> port = std::make_unique<FakeSerialPort>();
    FakeSerialPort* fake = port.get();
    frmTransfer window{
        state, Services{prompter, dialogs, [](QDialog&) { return 0; }, Folders(dir / "kym")},
        std::move(port)};
};

// A port that opens at the second try and two sends: the first without a kym folder, so that its
// record line cannot be written, which is reported beside an outcome it does not change.
TEST_F(TransferWindow, SendsAPickedFile) {
    test::expectNamedControls(window);
    EXPECT_EQ(child<QAbstractButton>("btnGetFile")->text().toStdString(),
              "Get File (returned as " + (dir / "kym" / "_config.cfg").string());
    EXPECT_FALSE(child("btnGetFile")->isEnabled());
    const auto* ports = child<QComboBox>("portChoice");
    EXPECT_EQ(ports->count(), 9);
    EXPECT_EQ((ports->currentText() + u' ' + ports->itemText(8)).toStdString(),
              "COM1 /dev/ttyUSB0");
    EXPECT_EQ(box("txtStatus"), Status("Disconnected", system.color(QPalette::Base)));
    EXPECT_FALSE(shown("ExtenderFrame"));

    const auto picked = write(ConfigLines("QX4815", std::vector<std::string>(24, "1,,,,,;")));
    select(picked);
    const auto& request = dialogs.requests.at(0).request;
    const auto folder = dir / "kym" / "kym3815";
    EXPECT_EQ(request.title + "|" + request.filterDescription + "|" + request.filterPattern,
              "Select File|Config files " + (folder / "*.vlt").string() + "|*.vlt");
    EXPECT_EQ(request.directory, folder);
    EXPECT_EQ(box("txtFileStatus"), Status("File is ready to be sent.", kGreen));
    EXPECT_TRUE(shown("ExtenderFrame"));
    EXPECT_TRUE(child<QRadioButton>("optMainUnit")->isChecked());
    select(std::nullopt); // a cancelled choice keeps the file
    EXPECT_EQ(box("txtFileName").first, utf8Of(picked));
    click("optExt2");

    // The reason (the session's test has the texts) is the tooltip until a port opens.
    fake->failure = OpenFailure::Busy;
    fake->error = "Permission error while locking the device";
    openPort("COM3");
    const std::string reason = std::string(kCom3) +
                               ": Permission error while locking the device. Another program is "
                               "using the port: close it there or choose another port.";
    EXPECT_EQ(box("txtStatus"), Status("Cannot open:  COM 3", QColor(255, 0, 0)));
    EXPECT_EQ(tip("txtStatus"), reason);
    EXPECT_TRUE(logged(reason)) << traffic();
    fake->error.clear();
    openPort("COM3");
    EXPECT_EQ(tip("txtStatus"), "");

    click("btnSendFile");
    EXPECT_EQ(fake->sent.size(), 79u); // an extended unit's frame, not the main unit's 111
    fake->arrive({0x1B, 0x47, 0x4A});
    fake->arrive({0x06, 0x39, 0xAB});
    EXPECT_EQ(box("txtCommStatus"), Status("Acknowledge Received", kGreen));
    EXPECT_FALSE(child("openPort")->isEnabled());
    for (const char* name : {"closePort", "btnSelect", "btnSendFile"})
        EXPECT_TRUE(child(name)->isEnabled()) << name;
    EXPECT_TRUE(logged("sent     1B 47 4A 00 29")) << traffic();
    EXPECT_TRUE(logged("received 06 39 AB")) << traffic();
    const auto recordFile = dir / "kym" / "programming-record.csv";
    const std::string problem =
        "The programming record " + utf8Of(recordFile) + " was not written: ";
    EXPECT_TRUE(tip("txtCommStatus").starts_with(problem)) << tip("txtCommStatus");
    EXPECT_GT(tip("txtCommStatus").size(), problem.size()); // the system's reason follows
    EXPECT_TRUE(logged(tip("txtCommStatus"))) << traffic();

    std::filesystem::create_directories(dir / "kym");
    click("btnSendFile");
    fake->arrive({0x1B, 0x47, 0x4A, 0x06, 0x39, 0xAB});
    EXPECT_EQ(tip("txtCommStatus"), "");
    const auto lines = ProgrammingRecord(recordFile).read();
    ASSERT_TRUE(lines && lines->size() == 1);
    EXPECT_EQ(lines->at(0).unit + ", " + lines->at(0).outcome, "extended 2, Acknowledge Received");
    click("btnClearStatus");
    EXPECT_EQ(box("txtCommStatus"), Status("", system.color(QPalette::Base)));
    EXPECT_EQ(traffic(), "");

    // The status box keeps its short text; the message box says which line of which file and why.
    const auto bad = write(ConfigLines("KYM3815").set("CAPTURE", "300"), "bad.vlt");
    select(bad);
    const std::string message = utf8Of(bad) + ":2: CAPTURE \"300\" is outside 0 to 255";
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, message);
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Exclamation);
    EXPECT_EQ(box("txtFileStatus"), Status("Error reading file ", system.color(QPalette::Dark)));
    EXPECT_FALSE(shown("ExtenderFrame"));
    EXPECT_TRUE(logged(message)) << traffic();
}

TEST_F(TransferWindow, ClosingDuringASendStopsItAndReleasesThePort) {
    select(write(ConfigLines("QR4805")));
    openPort();
    click("btnSendFile");
    const std::size_t sent = fake->sent.size();
    window.reject();
    EXPECT_FALSE(fake->opened);
    // Neither this acknowledgement nor the one-second pause that would follow lead anywhere.
    fake->arrive({0x1B});
    QSignalSpy ended(&window, &frmTransfer::sendEnded);
    EXPECT_FALSE(ended.wait(1200));
    EXPECT_EQ(fake->sent.size(), sent);
}

// File > File Transfer opens this window (a save that vetoes it is the lifecycle's test). File >
// Programming Record shows the newest send first; Open File opens its file in the editor.
TEST_F(TransferWindow, TheFileMenuOpensItAndTheRecordWindow) {
    std::filesystem::create_directories(dir / "kym");
    const ProgrammingRecord past(dir / "kym" / "programming-record.csv");
    const auto older = write(ConfigLines("KYM3815"), "older.vlt");
    ASSERT_TRUE(past.append({"", "QR4805", "", "COM1", "gone.vlt", "", 79, "", "x"}));
    ASSERT_TRUE(past.append({"", "KYM3815", "", "COM2", utf8Of(older), "", 79, "", "y"}));
    std::vector<std::string> opened, rows;
    const auto runner = [&](QDialog& dialog) {
        opened.push_back(dialog.objectName().toStdString());
        if (opened.size() == 1)
            return 0;
        test::expectNamedControls(dialog);
        auto& table = test::child<QTableWidget>(dialog, "tblRecord");
        for (int row = 0; row < table.rowCount(); ++row)
            rows.push_back(table.item(row, 3)->text().toStdString() + " " +
                           table.item(row, 4)->text().toStdString());
        table.selectRow(0);
        test::child<QAbstractButton>(dialog, "btnOpenFile").click();
        return dialog.result();
    };
    test::MemorySettings settings;
    FlexGrid editor(state, Services{prompter, dialogs, runner, Folders(dir / "kym")}, settings,
                    [] { return std::make_unique<FakeSerialPort>(); });
    test::menuEntry(editor, "mnuFileTransfer")->trigger();
    test::menuEntry(editor, "mnuProgrammingRecord")->trigger();
    EXPECT_EQ(opened, (std::vector<std::string>{"frmTransfer", "frmRecord"}));
    EXPECT_EQ(rows, (std::vector<std::string>{"COM2 " + utf8Of(older), "COM1 gone.vlt"}));
    EXPECT_EQ(state.document.currentFilePath, utf8Of(older));
}

} // namespace
} // namespace kym
