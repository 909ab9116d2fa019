#include "FtpTestServer.h"
#include "gateway/CurlFtpClient.h"
#include "gateway/frmFTP.h"
#include "gateway/frmProperties.h"
#include "support/Controls.h"
#include "support/MainWindowHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>

namespace kym {
namespace {

using Answer = Prompter::Answer;
using test::child;

// What a field, combo box or option ("true" when on) shows.
std::string value(const QWidget& parent, const char* name) {
    const QWidget& field = child(parent, name);
    return field.metaObject()->userProperty().read(&field).toString().toStdString();
}

void setValue(const QWidget& parent, const char* name, const std::string& value) {
    QWidget& field = child(parent, name);
    field.metaObject()->userProperty().write(&field, QString::fromStdString(value));
}

void click(const QWidget& parent, const char* name) {
    child<QAbstractButton>(parent, name).click();
}

// OK without a transport asks for one; OK on the question closes the dialog having kept nothing.
TEST(frmProperties, OkKeepsTheSettingsOnlyWithATransport) {
    ProgramState state;
    state.gateway.gatewayFlowControl = "XON";
    test::ScriptedPrompter prompter;
    prompter.answers = {Answer::Cancel, Answer::Ok};
    frmProperties dialog(state, prompter);
    EXPECT_EQ(value(dialog, "optASCII") + value(dialog, "optRTU"), "falsefalse");
    dialog.show();
    setValue(dialog, "cboSpeed", "19200");
    click(dialog, "cmdOK");
    EXPECT_TRUE(dialog.isVisible());
    click(dialog, "cmdOK");
    EXPECT_TRUE(!dialog.isVisible() && dialog.result() == QDialog::Accepted);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>(
                                    2, "A Valid Transport needs to be selected to retain values"));
    EXPECT_EQ(state.gateway.gatewayBaud, "9600");
    for (const char* option : {"optASCII", "optRTU", "optRTU"})
        click(dialog, option);
    EXPECT_EQ(value(dialog, "optASCII") + value(dialog, "optRTU"), "falsetrue");
    click(dialog, "cmdOK");
    const GatewaySettings& gateway = state.gateway;
    EXPECT_EQ(gateway.physicalLayer + " " + gateway.gatewayBaud + " " + gateway.gatewayFlowControl,
              "RTU 19200 NONE");
}

// OK stores the field as typed, a step once a document exists; the FTP dialog stores nothing.
TEST(GatewayMenu, EachEntryOpensItsDialog) {
    const struct {
        const char *entry, *field, *ok, *step, *layerAfterOk;
        std::string GatewaySettings::*setting;
        test::Spoken spoken;
    } entries[] = {
        // clang-format off
        {"mnuGatewayIP", "Text1", "btnOK", "IP Address", "ETHERNET", &GatewaySettings::gatewayIP,
         {{"Text1", "IP Address"}, {"txtSubnet", "Subnet"}}},
        {"mnuGatewayUnitId", "ComboUnitID", "btnOK", "Unit ID", "RTU", &GatewaySettings::unitID,
         {{"ComboUnitID", "Unit ID"}}},
        {"mnuGatewayProperties", "cboSpeed", "cmdOK", "Serial Properties", "RTU",
         &GatewaySettings::gatewayBaud,
         {{"cboSpeed", "Maximum Speed"}, {"cboDataBits", "Data Bits"}, {"optRTU", "RTU"}}},
        {"mnuGatewayFTP", "txtIPAddress", nullptr, nullptr, "RTU", &GatewaySettings::gatewayIP,
         {{"txtIPAddress", "IP Address"}, {"txtUsername", "User"}}},
        // clang-format on
    };
    for (const auto& e : entries) {
        SCOPED_TRACE(e.entry);
        test::MainWindowHarness h;
        GatewaySettings& gateway = h.state.gateway;
        bool confirm = true;
        h.drive = [&](QDialog& dialog) {
            test::expectNamedControls(dialog, e.spoken);
            EXPECT_EQ(value(dialog, e.field), "12");
            setValue(dialog, e.field, "300");
            confirm&& e.ok ? click(dialog, e.ok) : dialog.reject();
        };
        const auto open = [&](bool ok, const std::string& title) {
            gateway.physicalLayer = "RTU";
            gateway.*e.setting = "12";
            confirm = ok;
            h.trigger(e.entry);
            EXPECT_EQ(h.title() + "|" + gateway.*e.setting + " " + gateway.physicalLayer,
                      title + (ok && e.ok ? "|300 " + std::string(e.layerAfterOk) : "|12 RTU"));
        };
        open(true, std::string(kDesignCaption));
        h.newDocument("mnuNewConfig");
        open(false, "Editor - ");
        open(true, e.ok ? "Editor -  *" : "Editor - ");
        EXPECT_EQ(h.action("mnuUndo")->text().toStdString(),
                  e.step ? std::string("Undo ") + e.step : "Undo");
        h.trigger("mnuUndo");
        EXPECT_EQ(h.title() + " " + gateway.*e.setting, "Editor -  12");
    }
}

class WindowThreadPrompter : public test::ScriptedPrompter {
public:
    Answer show(const std::string& text, Buttons buttons, Icon icon) override {
        EXPECT_EQ(QThread::currentThread(), qApp->thread()) << text;
        return ScriptedPrompter::show(text, buttons, icon);
    }
};

// While an exchange runs on its thread the buttons are off and the dialog does not close; its
// messages are shown on the window's thread.
TEST(frmFTP, ExchangesRunBesideTheWindow) {
    test::TempDir temp;
    test::FtpTestServer server(temp / "server");
    ASSERT_FALSE(server.address().empty()) << "the FTP server did not start";
    const std::string bytes = "CAPTURE\r\n5\r\n";
    test::writeFile(temp / "upload.cfg", bytes);
    WindowThreadPrompter prompter;
    prompter.answers = {Answer::Yes};
    test::ScriptedFileDialogs fileDialogs;
    fileDialogs.choices = {temp / "upload.cfg"};
    ProgramState state;
    state.gateway.gatewayIP = server.address();
    frmFTP dialog(state, {prompter, fileDialogs, modalDialogRunner(), Folders(temp.path())},
                  std::make_unique<CurlFtpClient>());
    EXPECT_EQ(child<QLineEdit>(dialog, "txtPassword").echoMode(), QLineEdit::Password);
    QSignalSpy finished(&dialog, &frmFTP::exchangeFinished);
    const auto exchange = [&](const char* button) {
        click(dialog, button);
        for (const char* name : {"btnGetFile", "btnSendFile", "btnSelectFile"})
            EXPECT_FALSE(child(dialog, name).isEnabled()) << name;
        EXPECT_EQ(dialog.cursor().shape(), Qt::WaitCursor);
        dialog.reject();
        return finished.wait(20000) && dialog.isVisible();
    };
    dialog.show();
    click(dialog, "btnSelectFile");
    ASSERT_TRUE(exchange("btnSendFile"));
    EXPECT_EQ(test::readFile(temp / "server" / "config.cfg"), bytes);
    ASSERT_TRUE(exchange("btnGetFile"));
    EXPECT_EQ(test::readFile(temp / "_config.cfg"), bytes);
    setValue(dialog, "txtPassword", "wrong");
    ASSERT_TRUE(exchange("btnGetFile"));
    const std::vector<std::string> messages{
        "File has been sent", "File has been placed in " + (temp / "_config.cfg").string(),
        "InternetConnect Extd Err: 530 530 Authentication failed.",
        "InternetConnect Err: 12003\r\nClose Connection and Session?", "Not in session"};
    EXPECT_EQ(prompter.texts(), messages);
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace kym
