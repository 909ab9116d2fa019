#include "TransferSession.h"

#include "Frames.h"
#include "config/DeviceTypes.h"

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
    if (sending_)
        commStatus_ = {std::string(transfertext::kSendStopped), BoxColour::Desktop};
    sending_ = false;
}

void TransferSession::fileRead(std::string_view path, const Result<LineList>& lines) {
    compiled_ = lines ? CompileConfiguration(*lines) : Compilation{};
    fileProblem_ =
        lines ? compiled_.errorReport(path) : std::string(path) + ": " + lines.error().reason;
    fileStatus_ = {std::string(compiled_.statusText()),
                   compiled_.fileReady ? BoxColour::Green : BoxColour::Desktop};
    extenderVisible_ = compiled_.deviceTypeText == kQx4815;
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
    return SendSequence(type, buildFrame(compiled_.image, type, selectedUnit_));
}

void TransferSession::waitEnded(SendSequence::Verdict verdict) {
    commStatus_ =
        verdict == SendSequence::Verdict::Acknowledged
            ? StatusBox{std::string(transfertext::kAcknowledgeReceived), BoxColour::Green}
            : StatusBox{std::string(transfertext::kCheckCableConnections), BoxColour::Desktop};
}

} // namespace kym
