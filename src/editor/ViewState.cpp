#include "editor/ViewState.h"

#include "config/CodePage.h"
#include "config/DeviceTypes.h"

namespace kym {
namespace {

std::string titleOf(const DocumentState& document, bool changed) {
    switch (document.titleForm) {
    case TitleForm::DesignCaption:
        return std::string(kDesignCaption);
    case TitleForm::FilePath:
        return "Editor: " + document.currentFilePath;
    case TitleForm::FileTitle:
        break;
    }
    return "Editor - " + document.currentFileTitle + (changed ? " *" : "");
}

// Before any layout every box is enabled; a type outside the five leaves the last enabling.
EditBoxEnables boxesFor(std::string_view layoutType) {
    const bool all = layoutType.empty() || layoutType == kKym3815 || layoutType == kQx4815;
    const bool channel = all || layoutType == kQr4805;
    return {true, channel, all, all, all, all};
}

} // namespace

ViewState viewStateOf(const ProgramState& state, const EditHistory& edits) {
    const HeaderSettings& header = state.header;
    const DocumentHistory& history = state.history;
    return ViewState{
        titleOf(state.document, edits.changed()),
        history.deviceTypeGiven ? "&Compatibility(" + utf8FromCp1252(header.deviceType) + ")"
                                : "&DeviceType",
        findDeviceType(header.deviceType) ? header.deviceType : std::string(),
        !history.fileTypeRead || header.fileType == "FACTORY",
        history.tableLaidOut,
        boxesFor(history.layoutDeviceType),
    };
}

} // namespace kym
