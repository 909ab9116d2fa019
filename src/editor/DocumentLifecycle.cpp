#include "editor/DocumentLifecycle.h"

#include "config/ConfigFile.h"
#include "config/DeviceTypes.h"
#include "config/Layout.h"
#include "config/Paths.h"

#include <utility>

namespace kym {
namespace {
constexpr std::string_view kVltPattern = "*.vlt";
constexpr std::string_view kVltExtension = ".vlt";

// New and Open put these header settings, and the gateway's address, back to their start values.
template <class... Field> void restoreStartValues(ProgramState& state, Field... fields) {
    const HeaderSettings start;
    ((state.header.*fields = start.*fields), ...);
    state.gateway.gatewayIP = GatewaySettings{}.gatewayIP;
    state.gateway.gatewaySubnet = GatewaySettings{}.gatewaySubnet;
}
} // namespace

DocumentLifecycle::DocumentLifecycle(ProgramState& state, Prompter& prompter,
                                     FileDialogs& fileDialogs, Folders folders)
    : state_(state), prompter_(prompter), fileDialogs_(fileDialogs), folders_(std::move(folders)) {}

void DocumentLifecycle::startUp() {
    state_.ignoreNextChange = false;
    state_.deviceTypeMenuUsed = false;
    state_.header = HeaderSettings{};
    state_.gateway = GatewaySettings{};
    state_.history = DocumentHistory{};
    state_.document.hasFileName = false;
    state_.document.currentFilePath.clear();
    state_.gridVisible = false;
    history_.start();
    folders_.create();
}

void DocumentLifecycle::hideEditCombos() {
    if (hideEditCombos_)
        hideEditCombos_();
}

void DocumentLifecycle::fileUsed(const std::string& path) {
    if (fileUsed_)
        fileUsed_(path);
}

void DocumentLifecycle::MarkChanged() {
    history_.markWithoutEdit();
}

// The menu's check mark and caption follow the device type, so a choice is one assignment.
void DocumentLifecycle::chooseDeviceType(std::string_view identifier) {
    const std::string previousType = state_.header.deviceType;
    const bool previouslyGiven = state_.history.deviceTypeGiven;

    state_.header.deviceType = std::string(identifier);
    state_.history.deviceTypeGiven = true;

    if (!ConfirmCompatibilityChange()) {
        state_.header.deviceType = previousType;
        state_.history.deviceTypeGiven = previouslyGiven;
    }
}

// False when the change was abandoned because the user's save did not happen.
bool DocumentLifecycle::ConfirmCompatibilityChange() {
    if (!state_.deviceTypeMenuUsed) {
        state_.deviceTypeMenuUsed = true;
        // The first choice only records the type, unless a file is already open.
        if (!state_.gridVisible)
            return true;
    }
    if (state_.header.deviceType != state_.document.documentDeviceType) {
        if (!offerSave(prompt::kCompatibilityChange))
            return false;
        history_.changesDropped();
    }
    return startNewDocument() != Outcome::Failed;
}

DocumentLifecycle::Outcome DocumentLifecycle::startNewDocument() {
    if (!findDeviceType(state_.header.deviceType)) {
        prompter_.inform(std::string(prompt::kSelectDeviceType));
        return Outcome::Cancelled;
    }
    const Outcome outcome = NewDocument();
    if (outcome == Outcome::Done)
        state_.document.hasFileName = false;
    return outcome;
}

DocumentLifecycle::Outcome DocumentLifecycle::NewDocument() {
    if (history_.changed() && !offerSave(prompt::kSaveChangesUpper))
        return Outcome::Failed;

    restoreStartValues(state_, &HeaderSettings::lossState, &HeaderSettings::snifferState,
                       &HeaderSettings::vendorCode, &HeaderSettings::propertyCode,
                       &HeaderSettings::captureValue, &HeaderSettings::captureNumber,
                       &HeaderSettings::timeout, &HeaderSettings::timeoutNumber);
    const HeaderSettings& header = state_.header;

    hideEditCombos();
    RegisterGrid& grid = state_.grid;
    grid.clear();
    grid.setCols(kDataColumns + 1);
    grid.setRows(gridRowsFor(header.deviceType));
    grid.setRow(0);
    LayoutGrid(state_);
    state_.gridVisible = true;

    state_.document.titleForm = TitleForm::FileTitle;
    state_.document.currentFileTitle.clear();
    hideEditCombos();
    state_.document.documentDeviceType = header.deviceType;
    history_.start();
    return Outcome::Done;
}

DocumentLifecycle::Outcome DocumentLifecycle::OpenDocument() {
    return open([this] {
        return fileDialogs_.openFile(configDialog("Open Register Configuration", std::string()));
    });
}

DocumentLifecycle::Outcome DocumentLifecycle::openFile(const std::filesystem::path& path) {
    return open([&] { return std::optional(documentPath(path)); });
}

DocumentLifecycle::Outcome DocumentLifecycle::open(const ChooseFile& choose) {
    lastReadError_.reset();
    if (history_.changed() && !offerSave(prompt::kSaveChangesUpper))
        return Outcome::Failed;
    state_.ignoreNextChange = true;

    const auto chosen = choose();
    if (!chosen || chosen->empty())
        return Outcome::Cancelled;

    auto lines = readLineFile(*chosen);
    if (!lines) {
        prompter_.warn(lines.error().reason);
        return Outcome::Failed;
    }

    // The resets wait until a file has been chosen and opened, so a cancelled or failed Open
    // leaves the document and its settings as they were.
    restoreStartValues(state_, &HeaderSettings::captureValue, &HeaderSettings::captureNumber,
                       &HeaderSettings::timeout, &HeaderSettings::timeoutNumber,
                       &HeaderSettings::snifferState);

    state_.document.currentFilePath = utf8Of(*chosen);
    state_.document.hasFileName = true;
    const std::string fileTitle = utf8Of(chosen->filename());

    hideEditCombos();
    if (auto loaded = LoadConfiguration(state_, *lines); !loaded) {
        lastReadError_ = loaded.error();
        prompter_.warn(fileTitle + ", line " + std::to_string(loaded.error().line) + ": " +
                       loaded.error().reason);
    }
    state_.document.documentDeviceType = state_.header.deviceType;

    state_.document.currentFileTitle = fileTitle;
    state_.document.titleForm = TitleForm::FileTitle;
    state_.ignoreNextChange = true;
    hideEditCombos();
    history_.start();
    fileUsed(state_.document.currentFilePath);
    return Outcome::Done;
}

DocumentLifecycle::Outcome DocumentLifecycle::save() {
    const Outcome outcome =
        state_.document.hasFileName ? write(state_.document.currentFilePath) : saveAs();
    if (outcome == Outcome::Done)
        state_.document.titleForm = TitleForm::FileTitle;
    return outcome;
}

DocumentLifecycle::Outcome DocumentLifecycle::saveAs() {
    const auto chosen = fileDialogs_.saveFile(
        configDialog("Save Register Configuration", utf8Of(folders_.defaultConfig())));
    if (!chosen || chosen->empty())
        return Outcome::Cancelled;

    std::string path = utf8Of(*chosen);
    if (!path.ends_with(kVltExtension))
        path += kVltExtension;

    const Outcome outcome = write(path);
    if (outcome != Outcome::Done)
        return outcome;
    state_.document.currentFilePath = path;
    state_.document.currentFileTitle = utf8Of(pathFromUtf8(path).filename());
    state_.document.titleForm = TitleForm::FilePath;
    return outcome;
}

DocumentLifecycle::Outcome DocumentLifecycle::write(const std::string& path) {
    const auto written = writeFileAtomically(pathFromUtf8(path),
                                             configurationFileBytes(documentHeader(), state_.grid));
    if (!written) {
        prompter_.warn(written.error().reason);
        return Outcome::Failed;
    }
    state_.document.hasFileName = true;
    history_.saved();
    fileUsed(path);
    return Outcome::Done;
}

// The header as the document in the grid was built: a device-type choice switches the type
// before its save question, and the table must be saved with the type it belongs to.
HeaderSettings DocumentLifecycle::documentHeader() const {
    HeaderSettings header = state_.header;
    if (state_.gridVisible)
        header.deviceType = state_.document.documentDeviceType;
    return header;
}

FileDialogRequest DocumentLifecycle::configDialog(std::string title, std::string fileName) const {
    const std::filesystem::path folder = folders_.kym3815();
    return FileDialogRequest{std::move(title), utf8Of(folder / kVltPattern),
                             std::string(kVltPattern), folder, std::move(fileName)};
}

// True when the flow may go on: the answer was No, or the save happened.
bool DocumentLifecycle::offerSave(std::string_view question) {
    if (!prompter_.askYesNo(std::string(question)))
        return true;
    return save() == Outcome::Done;
}

bool DocumentLifecycle::prepareFileTransfer() {
    return !history_.changed() || offerSave(prompt::kSaveChangesTransfer);
}

bool DocumentLifecycle::exitRequested() {
    if (!history_.changed())
        return true;
    if (!prompter_.askYesNo(std::string(prompt::kSaveChangesExit))) {
        exitAnsweredNo_ = true;
        return true;
    }
    return save() == Outcome::Done;
}

bool DocumentLifecycle::closeRequested() {
    if (std::exchange(exitAnsweredNo_, false))
        return true;
    return !history_.changed() || offerSave(prompt::kSaveChangesUpper);
}

} // namespace kym
