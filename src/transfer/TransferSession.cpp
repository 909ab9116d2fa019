#include "TransferSession.h"

#include "Frames.h"
#include "config/CodePage.h"
#include "config/DeviceTypes.h"
#include "config/Sha256.h"

#include <cstdio>
#include <utility>

namespace kym {

void TransferSession::portOpened(const PortAddress& port) {
    portOpen_ = true;
    openEnabled_ = false;
    closeEnabled_ = true;
    portStatus_ = {portOpenText(port), BoxColour::Green};
    portProblem_.clear();
    openLocation_ = port.location();
}

void TransferSession::portOpenFailed(const PortAddress& port, OpenFailure failure,
                                     std::string_view systemText) {
    portOpen_ = false;
    openEnabled_ = true;
    closeEnabled_ = true;
    portStatus_ = {cannotOpenText(port), BoxColour::Red};
    portProblem_ = cannotOpenReason(port, failure, systemText);
}

void TransferSession::portClosed() {
    portOpen_ = false;
    openEnabled_ = true;
    closeEnabled_ = false;
    portStatus_ = {std::string(transfertext::kPortClosed), BoxColour::Red};
    portProblem_.clear();
    openLocation_.clear();
}

void TransferSession::portLost(std::string_view reason) {
    portClosed();
    portStatus_.text = std::string(transfertext::kPortLost) + std::string(reason);
    if (sending_) {
        commStatus_ = {std::string(transfertext::kSendStopped), BoxColour::Desktop};
        if (sendEntry_ && !entryDue_) {
            sendEntry_->outcome = std::string(transfertext::kPortLost) + std::string(reason);
            entryDue_ = true;
        }
    }
    sending_ = false;
}

void TransferSession::fileRead(std::string_view path, const Result<std::string>& bytes) {
    compiled_ = bytes ? CompileConfiguration(splitLines(*bytes)) : Compilation{};
    fileProblem_ =
        bytes ? compiled_.errorReport(path) : std::string(path) + ": " + bytes.error().reason;
    filePath_ = path;
    fileSha256_ = bytes ? sha256Hex(*bytes) : "";
    fileStatus_ = {std::string(compiled_.statusText()),
                   compiled_.fileReady ? BoxColour::Green : BoxColour::Desktop};
    extenderVisible_ = traitsOf(compiled_.deviceTypeText).hasExtendedSystem;
    if (extenderVisible_)
        selectedUnit_ = kMainUnit;
}

std::optional<SendSequence> TransferSession::SendImage() {
    if (sending_)
        return std::nullopt;
    if (!compiled_.fileReady) {
        commStatus_ = {std::string(transfertext::kCannotSend), BoxColour::Dark};
        return std::nullopt;
    }
    commStatus_ = {};
    sending_ = true;
    const std::string& type = compiled_.deviceTypeText;
    auto frame = buildFrame(compiled_.image, type, selectedUnit_);
    sendEntry_ = RecordEntry{};
    sendEntry_->deviceType = utf8FromCp1252(type); // the record is UTF-8 throughout
    sendEntry_->unit = unitText(type, selectedUnit_);
    sendEntry_->port = openLocation_;
    sendEntry_->file = filePath_;
    sendEntry_->sha256 = fileSha256_;
    entryDue_ = false;
    if (frame && frame->size() >= 2) {
        sendEntry_->frameLength = static_cast<int>(frame->size());
        char checksum[5];
        std::snprintf(checksum, sizeof checksum, "%02X%02X", frame->back(),
                      (*frame)[frame->size() - 2]);
        sendEntry_->frameChecksum = checksum;
    }
    return SendSequence(type, std::move(frame));
}

void TransferSession::waitEnded(SendSequence::Verdict verdict) {
    commStatus_ =
        verdict == SendSequence::Verdict::Acknowledged
            ? StatusBox{std::string(transfertext::kAcknowledgeReceived), BoxColour::Green}
            : StatusBox{std::string(transfertext::kCheckCableConnections), BoxColour::Desktop};
    if (sendEntry_ && !entryDue_ && sendEntry_->outcome.empty()) {
        sendEntry_->outcome = commStatus_.text;
        entryDue_ = true;
    }
}

std::optional<RecordEntry> TransferSession::takeRecordEntry() {
    if (!entryDue_)
        return std::nullopt;
    entryDue_ = false;
    return std::exchange(sendEntry_, std::nullopt);
}

void TransferSession::recordWritten(const Result<void>& written) {
    recordProblem_ = written ? "" : written.error().reason;
}

} // namespace kym
