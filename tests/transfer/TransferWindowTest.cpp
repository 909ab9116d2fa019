#include "FakeSerialPort.h"
#include "editor/DocumentLifecycle.h"
#include "editor/FlexGrid.h"
#include "support/ConfigLines.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "transfer/Frames.h"
#include "transfer/frmTransfer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace kym {
namespace {

using test::ConfigLines;
using test::FakeSerialPort;
using Bytes = std::vector<std::uint8_t>;
using Status = std::pair<std::string, QColor>;

const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);

class TransferWindow : public testing::Test {
protected:
    explicit TransferWindow(bool portOpens = true) {
        auto port = std::make_unique<FakeSerialPort>(record, portOpens,
                                                     std::vector<std::string>{"/dev/ttyUSB0"});
        fake = port.get();
        window = std::make_unique<frmTransfer>(
            state, Services{prompter, dialogs, [](QDialog&) { return 0; }, Folders(dir / "kym")},
            std::move(port));
    }

    template <class Widget = QWidget> Widget* child(const char* name) {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void click(const char* name) { child<QAbstractButton>(name)->click(); }
    bool enabled(const char* name) { return child(name)->isEnabled(); }
    bool shown(const char* name) { return child(name)->isVisibleTo(window.get()); }
    // A status box's text and background.
    Status box(const char* name) {
        const auto* edit = child<QLineEdit>(name);
        return {edit->text().toStdString(), edit->palette().color(QPalette::Base)};
    }
    QColor system(QPalette::ColorRole role) {
        return QApplication::palette(child("txtStatus")).color(role);
    }

    void openPort(const char* entry = "COM1") {
        child<QComboBox>("portChoice")->setCurrentText(QString::fromLatin1(entry));
        click("openPort");
    }
    void select(std::optional<std::filesystem::path> path) {
        dialogs.choices.push_back(std::move(path));
        click("btnSelect");
    }
    std::filesystem::path write(const ConfigLines& config, const std::string& name = "unit.vlt") {
        test::writeFile(dir / name, config.text());
        return dir / name;
    }
    Bytes frameOf(const ConfigLines& config, int unit = kMainUnit) {
        const Compilation compiled = CompileConfiguration(config.lines());
        return BuildFrame(compiled.image, compiled.deviceTypeText, unit).value();
    }

    test::TempDir dir;
    ProgramState state;
    test::ScriptedPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    FakeSerialPort::Record record;
    FakeSerialPort* fake = nullptr;
    std::unique_ptr<frmTransfer> window;
};

QString caption(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
        return frame->title();
    return qobject_cast<const QLabel*>(widget)->text();
}

TEST_F(TransferWindow, OpensWithEveryControlInItsFirstState) {
    EXPECT_EQ(window->windowTitle().toStdString(), "File Transfer");
    const std::pair<const char*, std::string> captions[] = {
        {"Frame2", "Serial Port"},
        {"Label2", "Comm Port"},
        {"openPort", "Open Port"},
        {"closePort", "Close Port"},
        {"Frame3", "Comm Status"},
        {"btnClearStatus", "Clear Status"},
        {"btnSelect", "Select File to Send"},
        {"lblFileName", "File Name"},
        {"Label3", "File Status"},
        {"btnSendFile", "Send File"},
        {"btnCancel", "Cancel"},
        {"ExtenderFrame", "Extended System"},
        {"Label1", "SELECT UNIT TO BE PROGRAMMED"},
        {"optMainUnit", "Main Unit"},
        {"optExt1", "Extended Unit 1"},
        {"optExt2", "Extended Unit 2"},
        {"btnGetFile", "Get File (returned as " + (dir / "kym" / "_config.cfg").string()},
    };
    for (const auto& [name, text] : captions) {
        EXPECT_EQ(caption(child(name)).toStdString(), text) << name;
        EXPECT_EQ(child(name)->accessibleName().toStdString(), text) << name;
    }
    for (const char* name :
         {"txtStatus", "txtCommStatus", "txtFileName", "txtFileStatus", "portChoice", "txtTraffic"})
        EXPECT_FALSE(child(name)->accessibleName().isEmpty()) << name;

    QStringList ports;
    for (int i = 0; i < child<QComboBox>("portChoice")->count(); ++i)
        ports << child<QComboBox>("portChoice")->itemText(i);
    EXPECT_EQ(ports.join(QLatin1Char(' ')).toStdString(),
              "COM1 COM2 COM3 COM4 COM5 COM6 COM7 COM8 /dev/ttyUSB0");
    EXPECT_EQ(child<QComboBox>("portChoice")->currentText().toStdString(), "COM1");

    EXPECT_EQ(box("txtStatus"), Status("Disconnected", system(QPalette::Base)));
    for (const char* name : {"txtCommStatus", "txtFileName", "txtFileStatus"})
        EXPECT_EQ(box(name).first, "") << name;
    EXPECT_TRUE(enabled("openPort") && enabled("closePort") && enabled("portChoice"));
    EXPECT_FALSE(enabled("btnSendFile") || enabled("btnGetFile"));
    EXPECT_FALSE(shown("ExtenderFrame"));
}

TEST_F(TransferWindow, OpenAndClosePort) {
    openPort("COM3");
    EXPECT_EQ(record.portName, "/dev/ttyS2");
    EXPECT_EQ(record.settings, "19200,N,8,1");
    EXPECT_EQ(box("txtStatus"), Status("COM 3: Open at 19200,N,8,1", kGreen));
    EXPECT_FALSE(enabled("openPort"));
    EXPECT_TRUE(enabled("closePort") && enabled("btnSendFile"));

    click("closePort");
    EXPECT_FALSE(record.open);
    EXPECT_EQ(box("txtStatus"), Status("Port Closed", kRed));
    EXPECT_TRUE(enabled("openPort"));
    EXPECT_FALSE(enabled("closePort") || enabled("btnSendFile"));

    openPort("/dev/ttyUSB0");
    EXPECT_EQ(box("txtStatus").first, "/dev/ttyUSB0: Open at 19200,N,8,1");
}

class TransferWindowWithoutPort : public TransferWindow {
protected:
    TransferWindowWithoutPort() : TransferWindow(false) {}
};

TEST_F(TransferWindowWithoutPort, AFailedOpenLetsTheUserTryAnotherPort) {
    openPort("COM3");
    EXPECT_EQ(box("txtStatus"), Status("Cannot open:  COM 3", kRed));
    EXPECT_TRUE(enabled("openPort"));
    EXPECT_FALSE(enabled("btnSendFile"));
    click("closePort");
    EXPECT_EQ(box("txtStatus").first, "Cannot open:  COM 3");
    openPort("COM 9");
    EXPECT_EQ(box("txtStatus").first, "Cannot open:  COM 0");
    openPort("/dev/pts/77");
    EXPECT_EQ(box("txtStatus").first, "Cannot open:  /dev/pts/77");
}

TEST_F(TransferWindow, ASelectedExtenderFileOffersItsUnitsAndSendsTheChosenOne) {
    const ConfigLines extender("QX4815", std::vector<std::string>(24, "1,,,,,;"));
    select(write(extender));
    const auto& request = dialogs.requests.at(0).request;
    const auto folder = dir / "kym" / "kym3815";
    EXPECT_EQ(request.title, "Select File");
    EXPECT_EQ(request.filterDescription, "Config files " + (folder / "*.vlt").string());
    EXPECT_EQ(request.filterPattern, "*.vlt");
    EXPECT_EQ(request.directory, folder);
    EXPECT_EQ(box("txtFileName").first, (dir / "unit.vlt").string());
    EXPECT_EQ(box("txtFileStatus"), Status("File is ready to be sent.", kGreen));
    EXPECT_TRUE(shown("ExtenderFrame"));
    EXPECT_TRUE(child<QRadioButton>("optMainUnit")->isChecked());
    EXPECT_EQ(state.selectedUnit, kMainUnit);

    click("optExt1");
    click("optExt2");
    EXPECT_EQ(state.selectedUnit, kExtendedUnit2);
    EXPECT_FALSE(child<QRadioButton>("optMainUnit")->isChecked());
    openPort();
    click("btnSendFile");
    EXPECT_EQ(record.written, frameOf(extender, kExtendedUnit2));
    fake->arrive({0x1B, 0x47, 0x4A, 0x06, 0x39, 0xAB});

    select(std::nullopt);
    EXPECT_EQ(box("txtFileName").first, (dir / "unit.vlt").string());
    select(write(ConfigLines("KYM3815"), "other.vlt"));
    EXPECT_FALSE(shown("ExtenderFrame"));
    EXPECT_EQ(state.document.currentFilePath, "");
}

TEST_F(TransferWindow, AFileThatCannotBeReadLeavesNothingToSend) {
    select(write(ConfigLines("QX4815")));
    select(dir / "missing.vlt");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "No such file or directory");
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Exclamation);
    EXPECT_EQ(box("txtFileStatus"), Status("Error reading file ", system(QPalette::Dark)));
    EXPECT_FALSE(shown("ExtenderFrame"));

    openPort();
    click("btnSendFile");
    EXPECT_EQ(box("txtCommStatus"),
              Status("Error reading file. File cannot be sent.", QColor(15, 15, 0)));
    EXPECT_TRUE(record.written.empty());
}

TEST_F(TransferWindow, SendShowsTheVerdictAndAcceptsNothingElseMeanwhile) {
    const ConfigLines config("KYM3815");
    select(write(config));
    openPort();
    click("btnSendFile");
    EXPECT_EQ(record.written, frameOf(config));
    EXPECT_EQ(record.discards, 1);
    EXPECT_EQ(box("txtCommStatus"), Status("", system(QPalette::Base)));
    for (const char* button : {"btnSendFile", "btnSelect", "openPort", "closePort"})
        EXPECT_FALSE(enabled(button)) << button;

    fake->arrive({0x1B, 0x47, 0x4A});
    fake->arrive({0x06, 0x39, 0xAB});
    EXPECT_EQ(box("txtCommStatus"), Status("Acknowledge Received", kGreen));
    EXPECT_TRUE(enabled("btnSendFile") && enabled("btnSelect") && enabled("closePort"));
    EXPECT_FALSE(enabled("openPort"));

    const std::string traffic = child<QPlainTextEdit>("txtTraffic")->toPlainText().toStdString();
    EXPECT_NE(traffic.find("sent     1B 47 4A 00 01"), std::string::npos) << traffic;
    EXPECT_NE(traffic.find("received 1B 47 4A\n"), std::string::npos) << traffic;
    EXPECT_NE(traffic.find("received 06 39 AB"), std::string::npos) << traffic;
    click("btnClearStatus");
    EXPECT_EQ(box("txtCommStatus"), Status("", system(QPalette::Base)));
    EXPECT_TRUE(child<QPlainTextEdit>("txtTraffic")->toPlainText().isEmpty());
}

TEST_F(TransferWindow, NoAcknowledgementSaysCheckCableConnections) {
    select(write(ConfigLines("KYM3815")));
    openPort();
    QSignalSpy ended(window.get(), &frmTransfer::sendEnded);
    click("btnSendFile");
    fake->arrive({0x1B, 0x47, 0x4A, 0x06});
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_EQ(box("txtCommStatus"), Status("Check Cable Connections", system(QPalette::Dark)));
    EXPECT_TRUE(enabled("btnSendFile"));
}

TEST_F(TransferWindow, APortLostDuringASendEndsItWithTheReason) {
    select(write(ConfigLines("KYM3815")));
    openPort();
    click("btnSendFile");
    fake->vanish();
    EXPECT_EQ(box("txtStatus"), Status("Port lost: Input/output error", kRed));
    EXPECT_EQ(box("txtCommStatus").first, "Send stopped: the port was lost");
    EXPECT_TRUE(enabled("openPort") && enabled("btnSelect"));
    EXPECT_FALSE(enabled("closePort") || enabled("btnSendFile"));
}

TEST_F(TransferWindow, ClosingDuringASendStopsItAndReleasesThePort) {
    select(write(ConfigLines("QR4805")));
    openPort();
    click("btnSendFile");
    const std::size_t sent = record.written.size();
    window->reject();
    EXPECT_FALSE(record.open);
    // Neither this acknowledgement nor the pause that would follow lead anywhere.
    fake->arrive({0x1B});
    QSignalSpy ended(window.get(), &frmTransfer::sendEnded);
    EXPECT_FALSE(ended.wait(1500));
    EXPECT_EQ(record.written.size(), sent);
}

// File > File Transfer opens the window unless a save the user asked for did not happen.
TEST(FileTransferMenu, OpensTheTransferWindowAfterTheSaveQuestion) {
    test::TempDir dir;
    ProgramState state;
    test::ScriptedPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    FakeSerialPort::Record record;
    int opened = 0;
    const auto runner = [&](QDialog& dialog) {
        opened += dialog.objectName() == QStringLiteral("frmTransfer");
        return 0;
    };
    FlexGrid window(state, Services{prompter, dialogs, runner, Folders(dir / "kym")},
                    [&] { return std::make_unique<FakeSerialPort>(record); });
    QAction* transfer = window.action(QStringLiteral("mnuFileTransfer"));
    transfer->trigger();
    EXPECT_EQ(opened, 1);

    state.document.documentChanged = true;
    prompter.answers = {Prompter::Answer::Yes, Prompter::Answer::No};
    dialogs.choices = {std::nullopt};
    transfer->trigger();
    EXPECT_EQ(opened, 1);
    transfer->trigger();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>(2, std::string(prompt::kSaveChangesTransfer)));
}

} // namespace
} // namespace kym
