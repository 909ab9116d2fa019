#pragma once

#include "ConfigKeys.h"
#include "RegisterGrid.h"

#include <string>

namespace kym {

inline constexpr std::string_view kDesignCaption = "KYM4815/3815 Configuration Tool";

// Unit-wide settings carried in the register configuration file. Values stay text as the
// file holds them; the two numeric mirrors always follow their texts.
struct HeaderSettings {
    std::string deviceType;
    std::string fileType;
    std::string captureValue{kStartCaptureValue};
    double captureNumber = 0;
    bool captureInMinutes = false;
    std::string lossState{kStartLossState};
    std::string snifferState;
    std::string vendorCode{kStartVendorCode};
    std::string propertyCode{kStartPropertyCode};
    std::string timeout{kStartTimeout};
    double timeoutNumber = 30;
    std::string networkID{kStartNetworkId};
    bool operator==(const HeaderSettings&) const = default;
};

// Settings of the Modbus gateway; held in memory only, never in the configuration file.
struct GatewaySettings {
    std::string physicalLayer{kEthernet};
    std::string gatewayIP = "192.168.0.1";
    std::string gatewaySubnet = "255.255.255.0";
    std::string gatewayBaud = "9600";
    std::string gatewayDataBits = "8";
    std::string gatewayParity = "NONE";
    std::string gatewayStopBits = "1";
    std::string gatewayFlowControl = "NONE";
    std::string unitID = "1";
    bool operator==(const GatewaySettings&) const = default;
};

// How the main window's title names the document.
enum class TitleForm {
    DesignCaption, // before any New, Open or save
    FileTitle,     // "Editor - " and the file's title, with " *" while the document is changed
    FilePath,      // "Editor: " and the full path, right after Save As
};

// Whether the document is changed follows from its edit history, which the editor keeps.
struct DocumentState {
    std::string currentFilePath;
    std::string currentFileTitle;
    bool hasFileName = false;
    std::string documentDeviceType;
    TitleForm titleForm = TitleForm::DesignCaption;
};

// What the values of the settings do not tell about the choices and reads since start-up; the
// main window derives its menus and editing boxes from these and the settings.
struct DocumentHistory {
    bool deviceTypeGiven = false; // chosen from the menu or read from a file, even an empty one
    bool fileTypeRead = false;
    bool tableLaidOut = false;
    std::string layoutDeviceType; // the last of the five device types a table was laid out for
};

// The one program-wide state: the document (header settings plus the register grid),
// its lifecycle state and history, and the gateway settings. Windows receive it by reference.
struct ProgramState {
    HeaderSettings header;
    GatewaySettings gateway;
    DocumentState document;
    DocumentHistory history;
    RegisterGrid grid{9, 6};
    bool gridVisible = false;
    bool ignoreNextChange = false;
    bool deviceTypeMenuUsed = false;
    int selectedUnit = 0; // unit of an extender system to program: 1 main, 2 and 3 extensions
};

// A document exists once New has laid out a table or a file has been opened; before that the
// grid holds only the start-up table, which nobody asked to keep.
inline bool documentExists(const ProgramState& state) {
    return state.gridVisible || state.document.hasFileName;
}

} // namespace kym
