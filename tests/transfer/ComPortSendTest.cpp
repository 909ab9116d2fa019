#include "config/Paths.h"
#include "support/Controls.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "transfer/ImageCompiler.h"
#include "transfer/SerialPorts.h"
#include "transfer/frmTransfer.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kym {
namespace {

// scripts/test-windows maps a COM port to the pseudo-terminal of the Linux `kymtool
// simulate` and names the port and the file; the window sends through the system's own port, as
// the editor does.
TEST(ComPortSend, TheTransferWindowProgramsAUnitThroughACommPort) {
    const char* port = std::getenv("KYM_TEST_COM_PORT");
    const char* file = std::getenv("KYM_TEST_SEND_FILE");
    ASSERT_TRUE(port && file) << "scripts/test-windows names the port and the file";

    test::TempDir dir;
    std::filesystem::create_directories(dir / "kym");
    ProgramState state;
    test::ScriptedPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    frmTransfer window(
        state, Services{prompter, dialogs, [](QDialog&) { return 0; }, Folders(dir / "kym")},
        systemSerialPorts()());
    window.show();
    const auto text = [&](const char* name) {
        return test::child<QLineEdit>(window, name).text().toStdString();
    };
    const auto click = [&](const char* name) {
        test::child<QAbstractButton>(window, name).click();
    };
    auto* ports = &test::child<QComboBox>(window, "portChoice");
    EXPECT_GE(ports->findText(QString::fromLatin1(port)), 0) << port << " is not listed";
    ports->setCurrentText(QString::fromLatin1(port));
    click("openPort");
    ASSERT_TRUE(test::child(window, "closePort").isEnabled()) << text("txtStatus");

    dialogs.choices.push_back(pathFromUtf8(file));
    click("btnSelect");
    ASSERT_EQ(text("txtFileStatus"), kFileReadyText);
    QSignalSpy ended(&window, &frmTransfer::sendEnded);
    click("btnSendFile");
    ASSERT_TRUE(ended.wait(30000));
    EXPECT_EQ(text("txtCommStatus"), transfertext::kAcknowledgeReceived);
    const std::string record = test::readFile(dir / "kym" / "programming-record.csv");
    EXPECT_NE(record.find("," + std::string(port) + ","), std::string::npos) << record;
    EXPECT_NE(record.find(transfertext::kAcknowledgeReceived), std::string::npos) << record;
}

} // namespace
} // namespace kym
