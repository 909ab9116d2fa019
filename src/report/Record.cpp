#include "report/Record.h"

#include "config/CodePage.h"
#include "config/ConfigKeys.h"
#include "config/DeviceTypes.h"
#include "config/Paths.h"
#include "report/Csv.h"

#include <ctime>
#include <filesystem>

namespace kym {
namespace {

std::string localTimeText(std::chrono::system_clock::time_point now) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    char text[32] = "";
    if (const std::tm* local = std::localtime(&seconds))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local);
    return text;
}

std::string deviceTypeInWords(const std::string& identifier) {
    const DeviceTraits* entry = findDeviceType(identifier);
    return entry ? identifier + " (" + std::string(entry->caption) + ")"
                 : utf8FromCp1252(identifier);
}

// The Options dialog's frames and labels with what its controls show.
std::vector<std::pair<std::string, std::string>> settingsInWords(const HeaderSettings& header) {
    return {
        {"Output State on Loss of Transmitter", header.lossState == kLastState ? "Last" : "Off"},
        {"Digital Capture Time",
         utf8FromCp1252(header.captureValue) + (header.captureInMinutes ? " Minutes" : " Seconds")},
        {"Transmitter Timeout (min)", utf8FromCp1252(header.timeout)},
        {"V Code", utf8FromCp1252(header.vendorCode)},
        {"P Code", utf8FromCp1252(header.propertyCode)},
        {"Network ID", utf8FromCp1252(header.networkID)},
        {"Device Network State",
         header.snifferState == kSniffer ? "Monitor Network ID" : "Coordinate Network ID"},
    };
}

std::string escaped(const std::string& text) {
    std::string html;
    for (char c : text) {
        switch (c) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        case '"':
            html += "&quot;";
            break;
        case '\'':
            html += "&#39;";
            break;
        default:
            html += c;
        }
    }
    return html;
}

std::string htmlRow(const std::vector<std::string>& cells, const char* first, const char* rest) {
    std::string row = "<tr>";
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string tag = i == 0 ? first : rest;
        row += "<" + tag + ">" + escaped(cells[i]) + "</" + tag.substr(0, tag.find(' ')) + ">";
    }
    return row + "</tr>\n";
}

} // namespace

ConfigurationRecord recordOf(const ProgramState& state, std::chrono::system_clock::time_point now) {
    ConfigurationRecord record;
    const DocumentState& document = state.document;
    record.filePath = document.hasFileName ? document.currentFilePath : "";
    record.fileName = document.hasFileName
                          ? utf8Of(pathFromUtf8(document.currentFilePath).filename())
                          : "(not saved)";
    record.deviceType = deviceTypeInWords(state.header.deviceType);
    record.madeAt = localTimeText(now);
    record.settings = settingsInWords(state.header);
    const RegisterGrid& grid = state.grid;
    for (int col = 0; col < grid.cols(); ++col)
        record.columns.push_back(utf8FromCp1252(grid.cell(0, col)));
    for (int row = 1; row < grid.rows(); ++row) {
        if (grid.rowHidden(row))
            continue;
        auto& cells = record.rows.emplace_back();
        for (int col = 0; col < grid.cols(); ++col)
            cells.push_back(utf8FromCp1252(grid.cell(row, col)));
    }
    return record;
}

std::string recordCsv(const ConfigurationRecord& record) {
    std::string csv = csvRow(record.columns);
    for (const auto& row : record.rows)
        csv += csvRow(row);
    return csv;
}

std::string recordHtml(const ConfigurationRecord& record) {
    const std::string title = "Register configuration " + record.fileName;
    std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" +
                       escaped(title) + "</title></head>\n<body>\n<h2>" + escaped(title) +
                       "</h2>\n<table cellspacing=\"0\" cellpadding=\"2\">\n";
    const std::vector<std::pair<std::string, std::string>> facts{{"File name", record.fileName},
                                                                 {"Path", record.filePath},
                                                                 {"Device type", record.deviceType},
                                                                 {"Date and time", record.madeAt}};
    for (const auto& [label, value] : facts)
        html += htmlRow({label, value}, "th align=\"left\"", "td");
    html += "</table>\n<h3>Options</h3>\n<table cellspacing=\"0\" cellpadding=\"2\">\n";
    for (const auto& [label, value] : record.settings)
        html += htmlRow({label, value}, "th align=\"left\"", "td");
    html += "</table>\n<h3>Registers</h3>\n"
            "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n" +
            htmlRow(record.columns, "th", "th");
    for (const auto& row : record.rows)
        html += htmlRow(row, "th align=\"left\"", "td");
    return html + "</table>\n</body></html>\n";
}

} // namespace kym
