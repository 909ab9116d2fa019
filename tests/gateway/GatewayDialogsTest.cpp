#include "FtpTestServer.h"
#include "editor/FlexGrid.h"
#include "gateway/CurlFtpClient.h"
#include "gateway/frmFTP.h"
#include "gateway/frmIPaddress.h"
#include "gateway/frmProperties.h"
#include "gateway/frmUnitID.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace kym {
namespace {

using Answer = Prompter::Answer;
using Texts = std::vector<std::string>;

template <class T> T& child(const QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

std::string text(const QWidget& parent, const char* name) {
    if (auto* edit = parent.findChild<QLineEdit*>(QString::fromLatin1(name)))
        return edit->text().toStdString();
    return child<QComboBox>(parent, name).currentText().toStdString();
}

void setText(const QWidget& parent, const char* name, const char* value) {
    if (auto* edit = parent.findChild<QLineEdit*>(QString::fromLatin1(name)))
        edit->setText(QString::fromLatin1(value));
    else
        child<QComboBox>(parent, name).setCurrentText(QString::fromLatin1(value));
}

void click(const QWidget& parent, const char* name) {
    child<QAbstractButton>(parent, name).click();
}

bool checked(const QWidget& parent, const char* name) {
    return child<QRadioButton>(parent, name).isChecked();
}

TEST(GatewaySettingDialogs, StoreWhatTheFieldsHoldOnlyOnOK) {
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        ProgramState state;
        state.gateway.gatewayIP = "10.0.0.7";
        state.gateway.physicalLayer = "RTU";
        state.gateway.unitID = "12";
        frmIPaddress address(state);
        EXPECT_EQ(text(address, "Text1"), "10.0.0.7");
        EXPECT_EQ(text(address, "txtSubnet"), "255.255.255.0");
        setText(address, "Text1", "not an address");
        click(address, ok ? "btnOK" : "btnCancel");
        EXPECT_EQ(state.gateway.gatewayIP, ok ? "not an address" : "10.0.0.7");
        EXPECT_EQ(state.gateway.physicalLayer, ok ? "ETHERNET" : "RTU");
        EXPECT_EQ(state.document.documentChanged, ok);

        state.document.documentChanged = false;
        frmUnitID unit(state);
        const auto& combo = child<QComboBox>(unit, "ComboUnitID");
        ASSERT_EQ(combo.count(), 247);
        EXPECT_EQ(combo.itemText(0), QStringLiteral("1"));
        EXPECT_EQ(combo.itemText(246), QStringLiteral("247"));
        EXPECT_EQ(text(unit, "ComboUnitID"), "12");
        setText(unit, "ComboUnitID", "300");
        click(unit, ok ? "btnOK" : "btnCancel");
        EXPECT_EQ(state.gateway.unitID, ok ? "300" : "12");
        EXPECT_EQ(state.document.documentChanged, ok);
    }
}

TEST(frmProperties, ShowsTheSettingsAndTheTransportOfThePhysicalLayer) {
    for (const std::string layer : {"ETHERNET", "ASCII", "RTU"}) {
        SCOPED_TRACE(layer);
        ProgramState state;
        state.gateway.physicalLayer = layer;
        state.gateway.gatewayParity = "ODD";
        test::ScriptedPrompter prompter;
        frmProperties dialog(state, prompter);
        EXPECT_EQ(child<QComboBox>(dialog, "cboParity").itemText(2), QStringLiteral("NONE"));
        EXPECT_EQ(child<QComboBox>(dialog, "cboSpeed").count(), 3);
        EXPECT_EQ((Texts{text(dialog, "cboSpeed"), text(dialog, "cboDataBits"),
                         text(dialog, "cboParity"), text(dialog, "cboStopBits")}),
                  (Texts{"9600", "8", "ODD", "1"}));
        EXPECT_EQ(checked(dialog, "optASCII"), layer == "ASCII");
        EXPECT_EQ(checked(dialog, "optRTU"), layer == "RTU");
    }
}

// Without a transport OK asks: Cancel keeps the dialog open, OK closes it keeping nothing but
// the changed mark. With a transport OK keeps the serial settings and no flow control.
TEST(frmProperties, OKKeepsTheSettingsOnlyWithATransport) {
    ProgramState state;
    state.gateway.gatewayFlowControl = "XON";
    test::ScriptedPrompter prompter;
    prompter.answers = {Answer::Cancel, Answer::Ok};
    frmProperties dialog(state, prompter);
    int closed = 0;
    QObject::connect(&dialog, &QDialog::finished, [&] { ++closed; });
    setText(dialog, "cboSpeed", "57600");
    click(dialog, "cmdOK");
    EXPECT_EQ(closed, 0);
    click(dialog, "cmdOK");
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(prompter.texts(),
              Texts(2, "A Valid Transport needs to be selected to retain values"));
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::OkCancel);
    EXPECT_EQ(state.gateway.gatewayBaud, "9600");
    EXPECT_EQ(state.gateway.physicalLayer, "ETHERNET");
    EXPECT_TRUE(state.document.documentChanged);

    frmProperties again(state, prompter);
    click(again, "optASCII");
    click(again, "optRTU");
    EXPECT_FALSE(checked(again, "optASCII"));
    setText(again, "cboSpeed", "57600");
    click(again, "cmdOK");
    EXPECT_EQ(state.gateway.physicalLayer, "RTU");
    EXPECT_EQ(state.gateway.gatewayBaud, "57600");
    EXPECT_EQ(state.gateway.gatewayFlowControl, "NONE");
}

// Fails a test that shows a message off the window's thread.
class WindowThreadPrompter : public test::ScriptedPrompter {
public:
    Answer show(const std::string& text, Buttons buttons, Icon icon) override {
        EXPECT_EQ(QThread::currentThread(), qApp->thread()) << text;
        return ScriptedPrompter::show(text, buttons, icon);
    }
};

class FtpDialogTest : public ::testing::Test {
protected:
    // Runs the event loop until the dialog's exchange has finished, for at most 20 s.
    bool finish() {
        QEventLoop loop;
        QObject::connect(&dialog, &frmFTP::exchangeFinished, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        if (dialog.busy())
            loop.exec();
        return !dialog.busy();
    }

    test::TempDir temp;
    WindowThreadPrompter prompter;
    test::ScriptedFileDialogs fileDialogs;
    ProgramState state;
    frmFTP dialog{state,
                  {prompter, fileDialogs, modalDialogRunner(), Folders(temp.path())},
                  std::make_unique<CurlFtpClient>()};
};

TEST_F(FtpDialogTest, StartsWithTheGatewayAddressAndTheDefaultLogin) {
    EXPECT_EQ((Texts{text(dialog, "txtIPAddress"), text(dialog, "txtUsername"),
                     text(dialog, "txtPassword"), text(dialog, "txtFileName")}),
              (Texts{"192.168.0.1", "root", "lumo", ""}));
    EXPECT_EQ(child<QLineEdit>(dialog, "txtPassword").echoMode(), QLineEdit::Password);
    EXPECT_EQ(child<QPushButton>(dialog, "btnGetFile").text().toStdString(),
              "GET FILE (Returned as " + (temp / "_config.cfg").string() + ")");

    fileDialogs.choices = {temp / "gateway.cfg", std::nullopt};
    click(dialog, "btnSelectFile");
    click(dialog, "btnSelectFile");
    EXPECT_EQ(text(dialog, "txtFileName"), (temp / "gateway.cfg").string());
    const FileDialogRequest& request = fileDialogs.requests.at(0).request;
    EXPECT_EQ(request.title, "Select File");
    EXPECT_EQ(request.filterDescription, "Config files " + (temp / "*.cfg").string());
    EXPECT_EQ(request.filterPattern, "*.cfg");
}

// While an exchange runs the buttons are off, the cursor is busy and the dialog does not close;
// its messages arrive in order on the window's thread.
TEST_F(FtpDialogTest, ExchangesRunBesideTheWindow) {
    test::FtpTestServer server(temp / "server");
    ASSERT_FALSE(server.address().empty());
    test::writeFile(temp / "server" / "config.cfg", "kym");
    int closed = 0;
    QObject::connect(&dialog, &QDialog::finished, [&] { ++closed; });
    setText(dialog, "txtIPAddress", server.address().c_str());

    click(dialog, "btnGetFile");
    for (const char* button : {"btnGetFile", "btnSendFile", "btnSelectFile"})
        EXPECT_FALSE(child<QPushButton>(dialog, button).isEnabled()) << button;
    EXPECT_EQ(dialog.cursor().shape(), Qt::WaitCursor);
    dialog.reject();
    ASSERT_TRUE(finish());
    EXPECT_EQ(closed, 0);
    EXPECT_TRUE(child<QPushButton>(dialog, "btnGetFile").isEnabled());
    EXPECT_EQ(test::readFile(temp / "_config.cfg"), "kym");

    setText(dialog, "txtPassword", "wrong");
    prompter.answers = {Answer::Yes};
    click(dialog, "btnSendFile");
    ASSERT_TRUE(finish());
    EXPECT_EQ(
        prompter.texts(),
        (Texts{"File has been placed in " + (temp / "_config.cfg").string(),
               "InternetConnect Extd Err: 530 530 Authentication failed.",
               "InternetConnect Err: 12003\r\nClose Connection and Session?", "Not in session"}));
    dialog.reject();
    EXPECT_EQ(closed, 1);
}

// The Gateway menu reaches each dialog; a setting changed there marks the document changed.
TEST(GatewayMenu, EachEntryOpensItsDialog) {
    test::TempDir temp;
    test::ScriptedPrompter prompter;
    test::ScriptedFileDialogs fileDialogs;
    ProgramState state;
    Texts opened;
    bool confirm = false;
    const auto runner = [&](QDialog& dialog) {
        opened.push_back(dialog.objectName().toStdString());
        if (confirm)
            child<QPushButton>(dialog, "btnOK").click();
        else
            dialog.reject();
        return dialog.result();
    };
    FlexGrid window(state, {prompter, fileDialogs, runner, Folders(temp.path())});
    for (const char* name : {"mnuGatewayIP", "mnuGatewayProperties", "mnuGatewayFTP", "mnuGatewayUnitID"})
        window.action(QString::fromLatin1(name))->trigger();
    EXPECT_FALSE(window.windowTitle().endsWith(QStringLiteral(" *")));
    EXPECT_FALSE(state.document.documentChanged);
    confirm = true;
    window.action(QStringLiteral("mnuGatewayUnitID"))->trigger();
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral(" *")));
    EXPECT_EQ(opened, (Texts{"frmIPaddress", "frmProperties", "frmFTP", "frmUnitID", "frmUnitID"}));
}

} // namespace
} // namespace kym
