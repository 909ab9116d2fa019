#include "TransferSession.h"

#include "Frames.h"
#include "config/DeviceTypes.h"

namespace kym {

void TransferSession::portOpenTried(const PortAddress& port, bool opened) {
    portOpen_ = opened;
    openEnabled_ = !opened;
    closeEnabled_ = true;
    portStatus_ = opened ? StatusBox{portOpenText(port), BoxColour::Green}
                         : StatusBox{cannotOpenText(port), BoxColour::Red};
}

void TransferSession::portClosed() {
    portOpen_ = false;
    openEnabled_ = true;
    closeEnabled_ = false;
    portStatus_ = {std::string(transfertext::kPortClosed), BoxColour::Red};
}

void TransferSession::portLost(std::string_view reason) {
    portClosed();
    portStatus_.text = std::string(transfertext::kPortLost) + std::string(reason);
    if (sending_)
        commStatus_ = {std::string(transfertext::kSendStopped), BoxColour::Desktop};
    sending_ = false;
}

void TransferSession::fileRead(const Result<LineList>& lines) {
    compiled_ = lines ? CompileConfiguration(*lines) : Compilation{};
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
