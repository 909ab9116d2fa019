#include "editor/ViewState.h"

#include "config/DeviceTypes.h"

namespace kym {
namespace {

std::string titleOf(const DocumentState& document) {
    switch (document.titleForm) {
    case TitleForm::DesignCaption:
        return std::string(kDesignCaption);
    case TitleForm::FilePath:
        return "Editor: " + document.currentFilePath;
    case TitleForm::FileTitle:
        break;
    }
    return "Editor - " + document.currentFileTitle + (document.documentChanged ? " *" : "");
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

ViewState viewStateOf(const ProgramState& state) {
    const HeaderSettings& header = state.header;
    const DocumentHistory& history = state.history;
    return ViewState{
        titleOf(state.document),
        history.deviceTypeGiven ? "&Compatibility(" + header.deviceType + ")" : "&DeviceType",
        findDeviceType(header.deviceType) ? header.deviceType : std::string(),
        !history.fileTypeRead || header.fileType == kFactory,
        history.tableLaidOut,
        boxesFor(history.layoutDeviceType),
    };
}

} // namespace kym
