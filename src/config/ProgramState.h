#pragma once

#include "RegisterGrid.h"

#include <string>

namespace kym {

inline constexpr std::string_view kDesignCaption = "KYM4815/3815 Configuration Tool";

// Unit-wide settings carried in the register configuration file. Values stay text as the
// file holds them; the two numeric mirrors always follow their texts.
struct HeaderSettings {
    std::string deviceType;
    std::string fileType;
    std::string captureValue = "0";
    double captureNumber = 0;
    bool captureInMinutes = false;
    std::string lossState = "LAST";
    std::string snifferState;
    std::string vendorCode = "171";
    std::string propertyCode = "0002";
    std::string timeout = "30";
    double timeoutNumber = 30;
    std::string networkID = "1";
};

// Settings of the Modbus gateway; held in memory only, never in the configuration file.
struct GatewaySettings {
    std::string physicalLayer = "ETHERNET";
    std::string gatewayIP = "192.168.0.1";
    std::string gatewaySubnet = "255.255.255.0";
    std::string gatewayBaud = "9600";
    std::string gatewayDataBits = "8";
    std::string gatewayParity = "NONE";
    std::string gatewayStopBits = "1";
    std::string gatewayFlowControl = "NONE";
    std::string unitID = "1";
};

struct DocumentState {
    bool documentChanged = false;
    std::string currentFilePath;
    std::string currentFileTitle;
    bool hasFileName = false;
    std::string documentDeviceType;
};

// What the main window's menus show; kept here so that the reader and the document
// operations can set it without a window.
struct MenuState {
    std::string checkedDeviceType; // identifier of the checked device-type entry, empty for none
    std::string compatibilityCaption = "&DeviceType";
    bool controlVariantsVisible = true; // the two control-variant entries
    bool settingsEnabled = false;       // the "&Settings" menu
};

// Which of the six editing boxes the user may open, as the device type allows.
struct EditBoxEnables {
    bool transId = true;
    bool channel = true;
    bool dataAnalog = true;
    bool dataDigital = true;
    bool start = true;
    bool end = true;
};

// The one program-wide state: the document (header settings plus the register grid),
// its lifecycle state and the gateway settings. Windows receive it by reference.
struct ProgramState {
    HeaderSettings header;
    GatewaySettings gateway;
    DocumentState document;
    MenuState menus;
    EditBoxEnables boxes;
    RegisterGrid grid{9, 6};
    bool gridVisible = false;
    std::string title{kDesignCaption};
    bool ignoreNextChange = false;
    bool deviceTypeMenuUsed = false;
    int selectedUnit = 0; // unit of an extender system to program: 1 main, 2 and 3 extensions
};

} // namespace kym
