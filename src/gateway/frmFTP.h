#pragma once

#include "config/ProgramState.h"
#include "gateway/FtpClient.h"
#include "gateway/GatewayFtpSession.h"
#include "ui/Services.h"
#include "ui/UiThreadPrompter.h"

#include <QDialog>
#include <functional>
#include <memory>

class QLineEdit;
class QPushButton;
class QThread;

namespace kym {

// Sends a local file to the gateway as config.cfg and fetches the gateway's config.cfg into
// the kym folder. An exchange runs off the window's thread; meanwhile the buttons are disabled,
// the cursor shows that the dialog is busy and the dialog cannot be closed.
class frmFTP : public QDialog {
    Q_OBJECT
public:
    frmFTP(ProgramState& state, Services services, std::unique_ptr<FtpClient> client,
           QWidget* parent = nullptr);
    ~frmFTP() override;

    bool busy() const { return worker_ != nullptr; }

public Q_SLOTS:
    void done(int result) override;

Q_SIGNALS:
    void exchangeFinished();

private Q_SLOTS:
    void btnSelectFile_Click();
    void btnSendFile_Click();
    void btnGetFile_Click();

private:
    void Form_Load();
    void Form_Unload();
    FtpLogin login() const;
    void runExchange(std::function<void()> exchange);
    void setBusy(bool busy);

    ProgramState& state_;
    Services services_;
    std::unique_ptr<FtpClient> client_;
    UiThreadPrompter prompter_;
    GatewayFtpSession session_;
    QThread* worker_ = nullptr;

    QLineEdit* txtIPAddress_ = nullptr;
    QLineEdit* txtUsername_ = nullptr;
    QLineEdit* txtPassword_ = nullptr;
    QLineEdit* txtFileName_ = nullptr;
    QPushButton* btnSelectFile_ = nullptr;
    QPushButton* btnSendFile_ = nullptr;
    QPushButton* btnGetFile_ = nullptr;
};

} // namespace kym
