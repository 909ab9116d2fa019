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
    if (layoutType.empty())
        return {};
    const EditableColumns& editable = traitsOf(layoutType).editable;
    return {editable.transmitterId, editable.channel, editable.dataFormat,
            editable.dataFormat,    editable.range,   editable.range};
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
        !history.fileTypeRead || header.fileType == kFactory,
        history.tableLaidOut,
        boxesFor(history.layoutDeviceType),
    };
}

} // namespace kym
