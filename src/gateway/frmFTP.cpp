#include "gateway/frmFTP.h"

#include "config/Paths.h"
#include "ui/DialogParts.h"
#include "ui/Text.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>

namespace kym {

frmFTP::frmFTP(ProgramState& state, Services services, std::unique_ptr<FtpClient> client,
               QWidget* parent)
    : QDialog(parent), state_(state), services_(std::move(services)), client_(std::move(client)),
      prompter_(services_.prompter, *this), session_(*client_, prompter_) {
    setObjectName(QStringLiteral("frmFTP"));
    setWindowTitle(QStringLiteral("File Transfer (FTP)"));

    txtIPAddress_ = makeLineEdit(this, "txtIPAddress", QStringLiteral("IP Address"));
    txtUsername_ = makeLineEdit(this, "txtUsername", QStringLiteral("User"));
    txtPassword_ = makeLineEdit(this, "txtPassword", QStringLiteral("Password"));
    txtPassword_->setEchoMode(QLineEdit::Password);
    txtPassword_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    txtFileName_ = makeLineEdit(this, "txtFileName", QStringLiteral("File Name"));
    btnSelectFile_ = makeButton(this, "btnSelectFile", QStringLiteral("Select File"));
    btnSendFile_ =
        makeButton(this, "btnSendFile", QStringLiteral("SEND FILE  (Stored as config.cfg)"));
    btnGetFile_ =
        makeButton(this, "btnGetFile",
                   QStringLiteral("GET FILE (Returned as ") +
                       toQt(utf8Of(services_.folders.gatewayDownload())) + QStringLiteral(")"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(makeLabel(this, "lblIP", QStringLiteral("IP Address"), txtIPAddress_), 0, 0);
    layout->addWidget(txtIPAddress_, 0, 1, 1, 2);
    layout->addWidget(makeLabel(this, "lblUser", QStringLiteral("User"), txtUsername_), 1, 0);
    layout->addWidget(txtUsername_, 1, 1, 1, 2);
    layout->addWidget(makeLabel(this, "lblPassword", QStringLiteral("Password"), txtPassword_), 2,
                      0);
    layout->addWidget(txtPassword_, 2, 1, 1, 2);
    layout->addWidget(makeLabel(this, "lblFileName", QStringLiteral("File Name"), txtFileName_), 3,
                      0);
    layout->addWidget(txtFileName_, 3, 1);
    layout->addWidget(btnSelectFile_, 3, 2);
    layout->addWidget(btnSendFile_, 4, 0, 1, 3);
    layout->addWidget(btnGetFile_, 5, 0, 1, 3);
    layout->setColumnStretch(1, 1);

    connect(btnSelectFile_, &QPushButton::clicked, this, &frmFTP::btnSelectFile_Click);
    connect(btnSendFile_, &QPushButton::clicked, this, &frmFTP::btnSendFile_Click);
    connect(btnGetFile_, &QPushButton::clicked, this, &frmFTP::btnGetFile_Click);
    Form_Load();
}

// An exchange still running cannot be left: done() refuses to close until it has finished.
frmFTP::~frmFTP() {
    if (worker_)
        worker_->wait();
}

void frmFTP::Form_Load() {
    txtIPAddress_->setText(toQt(state_.gateway.gatewayIP));
    txtUsername_->setText(toQt(kDefaultFtpUser));
    txtPassword_->setText(toQt(kDefaultFtpPassword));
}

void frmFTP::Form_Unload() {
    session_.closeAll();
}

void frmFTP::done(int result) {
    if (busy())
        return;
    Form_Unload();
    QDialog::done(result);
}

void frmFTP::btnSelectFile_Click() {
    const std::filesystem::path folder = services_.folders.kym();
    const auto chosen = services_.fileDialogs.openFile(
        {"Select File", "Config files " + utf8Of(folder / "*.cfg"), "*.cfg", folder, ""});
    if (chosen)
        txtFileName_->setText(toQt(utf8Of(*chosen)));
}

void frmFTP::btnGetFile_Click() {
    runExchange([this, login = login(), target = services_.folders.gatewayDownload()] {
        session_.get(login, target);
    });
}

void frmFTP::btnSendFile_Click() {
    runExchange([this, login = login(), file = fromQt(txtFileName_->text())] {
        session_.send(login, file);
    });
}

FtpLogin frmFTP::login() const {
    return {fromQt(txtIPAddress_->text()), fromQt(txtUsername_->text()),
            fromQt(txtPassword_->text())};
}

void frmFTP::runExchange(std::function<void()> exchange) {
    setBusy(true);
    worker_ = QThread::create(std::move(exchange));
    connect(worker_, &QThread::finished, this, [this] {
        worker_->deleteLater();
        worker_ = nullptr;
        setBusy(false);
        Q_EMIT exchangeFinished();
    });
    worker_->start();
}

void frmFTP::setBusy(bool busy) {
    for (QPushButton* button : {btnSelectFile_, btnSendFile_, btnGetFile_})
        button->setEnabled(!busy);
    if (busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

} // namespace kym
