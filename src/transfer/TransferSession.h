#pragma once

#include "ImageCompiler.h"
#include "LinkRules.h"
#include "PortNames.h"
#include "ProgrammingRecord.h"
#include "SendSequence.h"
#include "config/Result.h"
#include "config/TextLines.h"

#include <optional>
#include <string>
#include <string_view>

namespace kym {

// The backgrounds of the status boxes.
enum class BoxColour { WindowBackground, Green, Red, Dark, Desktop };

struct StatusBox {
    std::string text;
    BoxColour colour = BoxColour::WindowBackground;
    bool operator==(const StatusBox&) const = default;
};

namespace transfertext {
inline constexpr std::string_view kDisconnected = "Disconnected";
inline constexpr std::string_view kPortClosed = "Port Closed";
inline constexpr std::string_view kAcknowledgeReceived = "Acknowledge Received";
inline constexpr std::string_view kCheckCableConnections = "Check Cable Connections";
inline constexpr std::string_view kCannotSend = "Error reading file. File cannot be sent.";
inline constexpr std::string_view kPortLost = "Port lost: ";
inline constexpr std::string_view kSendStopped = "Send stopped: the port was lost";
} // namespace transfertext

// The transfer window without widgets: its three status boxes, which buttons may be pressed,
// the compiled file and the unit choice. The window (and kymtool send) run the port and the
// file dialog and report here what happened.
class TransferSession {
public:
    // The state of a freshly opened window. selectedUnit outlives the window.
    explicit TransferSession(int& selectedUnit) : selectedUnit_(selectedUnit) {}

    const StatusBox& portStatus() const { return portStatus_; }
    const StatusBox& fileStatus() const { return fileStatus_; }
    const StatusBox& commStatus() const { return commStatus_; }

    bool openPortEnabled() const { return openEnabled_ && !sending_; }
    bool closePortEnabled() const { return closeEnabled_ && !sending_; }
    bool sendFileEnabled() const { return portOpen_ && !sending_; }
    bool selectFileEnabled() const { return !sending_; }
    bool extenderVisible() const { return extenderVisible_; }
    bool sending() const { return sending_; }
    int selectedUnit() const { return selectedUnit_; }
    const Compilation& compilation() const { return compiled_; }

    // Open Port opened the port, or failed to: then another port may be tried at once, and
    // portProblem says why it failed.
    void portOpened(const PortAddress& port);
    void portOpenFailed(const PortAddress& port, OpenFailure failure, std::string_view systemText);
    // Why the port status shows a failure to open, for the user to act on; empty otherwise.
    const std::string& portProblem() const { return portProblem_; }
    // Where the open port is; empty while none is open.
    const std::string& openLocation() const { return openLocation_; }
    void portClosed();
    // The port failed while open (an adapter unplugged) and has been closed; a send ends.
    void portLost(std::string_view reason);

    // The picked file's bytes, read (or not) and compiled at once. A file that cannot be read
    // leaves nothing to send: never the image of an earlier file.
    void fileRead(std::string_view path, const Result<std::string>& bytes);
    // Why the picked file cannot be sent, naming the file and the line as kymtool does; empty
    // when it can be sent.
    const std::string& fileProblem() const { return fileProblem_; }

    // Send File: the sequence to run, or none when the image is not ready (the comm status
    // then says so) or a send is already running.
    std::optional<SendSequence> SendImage();
    void waitEnded(SendSequence::Verdict verdict);
    void sendEnded() { sending_ = false; }

    // The programming record's line for the send that has just come to its outcome: the frame's
    // verdict or a lost port. Each send gives one, once; the two-output receiver's follow-up
    // command gives none of its own.
    std::optional<RecordEntry> takeRecordEntry();
    // Whether that line reached the disk; the problem stays until a line does.
    void recordWritten(const Result<void>& written);
    const std::string& recordProblem() const { return recordProblem_; }

    void clearStatus() { commStatus_ = {}; }
    void chooseUnit(int unit) { selectedUnit_ = unit; }

private:
    int& selectedUnit_;
    StatusBox portStatus_{std::string(transfertext::kDisconnected)};
    StatusBox fileStatus_;
    StatusBox commStatus_;
    std::string portProblem_;
    std::string openLocation_;
    std::string fileProblem_;
    std::string filePath_;
    std::string fileSha256_;
    std::optional<RecordEntry> sendEntry_; // filled at Send File, taken at the outcome
    bool entryDue_ = false;
    std::string recordProblem_;
    bool portOpen_ = false;
    bool openEnabled_ = true;
    bool closeEnabled_ = true;
    bool sending_ = false;
    bool extenderVisible_ = false;
    Compilation compiled_;
};

} // namespace kym
