#include "FtpTestServer.h"
#include "gateway/CurlFtpClient.h"
#include "gateway/frmFTP.h"
#include "gateway/frmIPaddress.h"
#include "gateway/frmProperties.h"
#include "gateway/frmUnitID.h"
#include "support/Controls.h"
#include "support/MainWindowHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>

namespace kym {
namespace {

using Answer = Prompter::Answer;
using Texts = std::vector<std::string>;

using test::child;
using test::expectNamedControls;

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

// Opened on Ethernet neither transport is chosen, and OK asks for one: Cancel keeps the dialog
// open, OK closes it as an OK that kept nothing. A click keeps exactly one transport chosen, which
// OK keeps with the serial settings and no flow control.
TEST(frmProperties, OkKeepsTheSettingsOnlyWithATransport) {
    ProgramState state;
    state.gateway.gatewayFlowControl = "XON";
    state.gridVisible = true;
    test::ScriptedPrompter prompter;
    prompter.answers = {Answer::Cancel, Answer::Ok};
    frmProperties dialog(state, prompter);
    EXPECT_EQ(value(dialog, "optASCII") + value(dialog, "optRTU"), "falsefalse");
    dialog.show();
    setValue(dialog, "cboSpeed", "19200");
    click(dialog, "cmdOK");
    EXPECT_TRUE(dialog.isVisible());
    click(dialog, "cmdOK");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(prompter.texts(),
              Texts(2, "A Valid Transport needs to be selected to retain values"));
    EXPECT_EQ(state.gateway.gatewayBaud, "9600");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    for (const char* option : {"optASCII", "optRTU", "optRTU"})
        click(dialog, option);
    EXPECT_EQ(value(dialog, "optASCII") + value(dialog, "optRTU"), "falsetrue");
    click(dialog, "cmdOK");
    EXPECT_EQ((Texts{state.gateway.physicalLayer, state.gateway.gatewayBaud,
                     state.gateway.gatewayFlowControl}),
              (Texts{"RTU", "19200", "NONE"}));
}

// The Gateway menu opens each dialog showing the setting, every control named. OK stores the
// field as typed and marks an existing document as an undo step named after the dialog, which
// Ctrl+Z takes back with the mark; before New or Open there is none to mark. Cancel stores nothing.
TEST(GatewayMenu, EachEntryOpensItsDialog) {
    using Spoken = std::initializer_list<std::pair<const char*, const char*>>;
    const struct {
        const char *entry, *dialog, *field, *choice, *ok, *step;
        std::string GatewaySettings::*setting;
        const char* layerAfterOk;
        Spoken spoken;
    } entries[] = {
        // clang-format off
        {"mnuGatewayIP", "frmIPaddress", "Text1", nullptr, "btnOK", "IP Address",
         &GatewaySettings::gatewayIP,
         "ETHERNET", {{"Text1", "IP Address"}, {"txtSubnet", "Subnet"}}},
        {"mnuGatewayUnitId", "frmUnitID", "ComboUnitID", nullptr, "btnOK", "Unit ID",
         &GatewaySettings::unitID, "RTU", {{"ComboUnitID", "Unit ID"}}},
        {"mnuGatewayProperties", "frmProperties", "cboSpeed", "optASCII", "cmdOK",
         "Serial Properties", &GatewaySettings::gatewayBaud, "ASCII",
         {{"cboSpeed", "Maximum Speed"}, {"cboDataBits", "Data Bits"}, {"optRTU", "RTU"}}},
        {"mnuGatewayFTP", "frmFTP", "txtIPAddress", nullptr, nullptr, nullptr,
         &GatewaySettings::gatewayIP,
         "RTU", {{"txtIPAddress", "IP Address"}, {"txtUsername", "User"}}},
        // clang-format on
    };
    for (const auto& e : entries) {
        SCOPED_TRACE(e.entry);
        test::MainWindowHarness h;
        GatewaySettings& gateway = h.state.gateway;
        Texts shown;
        bool confirm = true;
        h.drive = [&](QDialog& dialog) {
            EXPECT_EQ(dialog.objectName().toStdString(), e.dialog);
            expectNamedControls(dialog, e.spoken);
            shown.push_back(value(dialog, e.field));
            setValue(dialog, e.field, "300");
            if (e.choice)
                click(dialog, e.choice);
            confirm&& e.ok ? click(dialog, e.ok) : dialog.reject();
        };
        const auto open = [&](bool ok) {
            gateway.physicalLayer = "RTU";
            gateway.*e.setting = "12";
            confirm = ok;
            h.trigger(e.entry);
            const bool kept = ok && e.ok;
            EXPECT_EQ((Texts{gateway.*e.setting, gateway.physicalLayer}),
                      (Texts{kept ? "300" : "12", kept ? e.layerAfterOk : "RTU"}));
        };
        open(true);
        EXPECT_EQ(h.title(), kDesignCaption);
        h.newDocument("mnuNewConfig");
        EXPECT_TRUE(h.prompter.texts().empty());
        open(false);
        EXPECT_EQ(h.title(), "Editor - ");
        open(true);
        EXPECT_EQ(h.title(), e.ok ? "Editor -  *" : "Editor - ");
        EXPECT_EQ(shown, Texts(3, "12"));
        QAction* undo = h.action("mnuUndo");
        EXPECT_EQ(undo->text().toStdString(), e.step ? std::string("Undo ") + e.step : "Undo");
        undo->trigger();
        EXPECT_EQ(h.title() + " " + gateway.*e.setting, "Editor -  12");
    }
}

// Fails a test that shows a message off the window's thread.
class WindowThreadPrompter : public test::ScriptedPrompter {
public:
    Answer show(const std::string& text, Buttons buttons, Icon icon) override {
        EXPECT_EQ(QThread::currentThread(), qApp->thread()) << text;
        return ScriptedPrompter::show(text, buttons, icon);
    }
};

// The chosen file goes to the gateway and comes back with the default login; a failed download
// keeps the earlier one, a wrong password is refused (kymtool's test has the altered file). While
// an exchange runs the buttons are off, the cursor is busy and the dialog does not close; its
// messages arrive in order on the window's thread.
TEST(frmFTP, ExchangesRunBesideTheWindow) {
    test::TempDir temp;
    test::FtpTestServer server(temp / "server");
    ASSERT_FALSE(server.address().empty()) << "the FTP server did not start";
    const std::string bytes = "CAPTURE\r\n5\r\n";
    test::writeFile(temp / "upload.cfg", bytes);
    WindowThreadPrompter prompter;
    prompter.answers = {Answer::Yes, Answer::Yes};
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
    std::filesystem::remove(temp / "server" / "config.cfg");
    ASSERT_TRUE(exchange("btnGetFile"));
    EXPECT_EQ(test::readFile(temp / "_config.cfg"), bytes);
    setValue(dialog, "txtPassword", "wrong");
    ASSERT_TRUE(exchange("btnGetFile"));
    EXPECT_EQ(
        prompter.texts(),
        (Texts{"File has been sent", "File has been placed in " + (temp / "_config.cfg").string(),
               "FtpGetFile Extd Err: 550 550 /config.cfg is not retrievable.",
               "FtpGetFile Err: 12003\r\nClose Connection and Session?",
               "InternetConnect Extd Err: 530 530 Authentication failed.",
               "InternetConnect Err: 12003\r\nClose Connection and Session?", "Not in session"}));
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace kym
