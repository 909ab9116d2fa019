#include "FtpTestServer.h"
#include "editor/FlexGrid.h"
#include "gateway/CurlFtpClient.h"
#include "gateway/frmFTP.h"
#include "gateway/frmProperties.h"
#include "gateway/frmUnitID.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompter.h"

#include <QAbstractButton>
#include <QAction>
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

template <class T = QWidget> T& child(const QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    return found ? *found : throw std::runtime_error(std::string("no control ") + name);
}

// What fields, combo boxes and options ("true" when on) show.
Texts values(const QWidget& parent, std::initializer_list<const char*> names) {
    Texts result;
    for (const char* name : names) {
        const QWidget& field = child(parent, name);
        result.push_back(field.metaObject()->userProperty().read(&field).toString().toStdString());
    }
    return result;
}

void setValue(const QWidget& parent, const char* name, const std::string& value) {
    QWidget& field = child(parent, name);
    field.metaObject()->userProperty().write(&field, QString::fromStdString(value));
}

void click(const QWidget& parent, const char* name) {
    child<QAbstractButton>(parent, name).click();
}

// Each Gateway menu entry opens its dialog showing the setting. OK keeps what was typed and marks
// the document changed, Cancel keeps nothing; an address set there means Ethernet.
TEST(GatewayMenu, EachEntryOpensItsDialog) {
    const struct {
        const char *entry, *dialog, *field, *cancel, *ok;
        std::string GatewaySettings::*setting;
        const char* layerAfterOK;
    } entries[] = {
        {"mnuGatewayIP", "frmIPaddress", "Text1", "btnCancel", "btnOK", &GatewaySettings::gatewayIP,
         "ETHERNET"},
        {"mnuGatewayUnitID", "frmUnitID", "ComboUnitID", "btnCancel", "btnOK",
         &GatewaySettings::unitID, "RTU"},
        {"mnuGatewayProperties", "frmProperties", "cboSpeed", "cmdCancel", "cmdOK",
         &GatewaySettings::gatewayBaud, "RTU"},
        {"mnuGatewayFTP", "frmFTP", "txtIPAddress", nullptr, nullptr, &GatewaySettings::gatewayIP,
         nullptr},
    };
    for (const auto& e : entries) {
        SCOPED_TRACE(e.entry);
        test::TempDir temp;
        test::ScriptedPrompter prompter;
        test::ScriptedFileDialogs fileDialogs;
        ProgramState state;
        Texts shown;
        const char* button = nullptr;
        const auto runner = [&](QDialog& dialog) {
            shown.push_back(dialog.objectName().toStdString() + " " + values(dialog, {e.field})[0]);
            setValue(dialog, e.field, "300");
            button ? click(dialog, button) : dialog.reject();
            return dialog.result();
        };
        FlexGrid window(state, {prompter, fileDialogs, runner, Folders(temp.path())});
        state.gateway.physicalLayer = "RTU";
        state.gateway.*e.setting = "12";
        for (const char* choice : {e.cancel, e.ok}) {
            button = choice;
            window.action(QString::fromLatin1(e.entry))->trigger();
            const bool kept = choice && choice == e.ok;
            EXPECT_EQ(window.windowTitle().endsWith(QStringLiteral(" *")), kept);
            EXPECT_EQ((Texts{state.gateway.*e.setting, state.gateway.physicalLayer}),
                      (Texts{kept ? "300" : "12", kept ? e.layerAfterOK : "RTU"}));
        }
        EXPECT_EQ(shown, Texts(2, e.dialog + std::string(" 12")));
    }
}

TEST(frmUnitID, OffersTheIDsFrom1To247) {
    ProgramState state;
    const frmUnitID dialog(state);
    const auto& ids = child<QComboBox>(dialog, "ComboUnitID");
    EXPECT_EQ(ids.count(), 247);
    EXPECT_EQ(ids.itemText(246), QStringLiteral("247"));
}

// Without a transport OK asks: Cancel keeps the dialog open, OK closes it keeping nothing but
// the changed mark. With a transport, the last one chosen, OK keeps the serial settings and no
// flow control.
TEST(frmProperties, OKKeepsTheSettingsOnlyWithATransport) {
    ProgramState state;
    state.gateway.gatewayParity = "ODD";
    state.gateway.gatewayFlowControl = "XON";
    test::ScriptedPrompter prompter;
    prompter.answers = {Answer::Cancel, Answer::Ok};
    frmProperties dialog(state, prompter);
    EXPECT_EQ(values(dialog,
                     {"cboSpeed", "cboDataBits", "cboParity", "cboStopBits", "optASCII", "optRTU"}),
              (Texts{"9600", "8", "ODD", "1", "false", "false"}));
    dialog.show();
    setValue(dialog, "cboSpeed", "19200");
    click(dialog, "cmdOK");
    EXPECT_TRUE(dialog.isVisible());
    click(dialog, "cmdOK");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(prompter.texts(),
              Texts(2, "A Valid Transport needs to be selected to retain values"));
    EXPECT_EQ(state.gateway.gatewayBaud, "9600");
    EXPECT_TRUE(state.document.documentChanged);

    click(dialog, "optASCII");
    click(dialog, "optRTU");
    EXPECT_EQ(values(dialog, {"optASCII", "optRTU"}), (Texts{"false", "true"}));
    click(dialog, "cmdOK");
    EXPECT_EQ((Texts{state.gateway.physicalLayer, state.gateway.gatewayBaud,
                     state.gateway.gatewayFlowControl}),
              (Texts{"RTU", "19200", "NONE"}));
}

// Fails a test that shows a message off the window's thread.
class WindowThreadPrompter : public test::ScriptedPrompter {
public:
    Answer show(const std::string& text, Buttons buttons, Icon icon) override {
        EXPECT_EQ(QThread::currentThread(), qApp->thread()) << text;
        return ScriptedPrompter::show(text, buttons, icon);
    }
};

// The chosen file goes to the gateway and comes back with the default login; a
// failed download keeps the earlier one. While an exchange runs the buttons are off, the cursor is
// busy and the dialog does not close; its messages arrive in order on the window's thread.
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
