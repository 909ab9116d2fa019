#include "report/Comparison.h"

#include "config/CodePage.h"
#include "config/ConfigFile.h"
#include "config/ConfigKeys.h"
#include "config/Paths.h"
#include "config/TextLines.h"

#include <utility>

namespace kym {
namespace {

// The settings as the file holds them, in the writer's order.
std::vector<std::pair<std::string_view, std::string>> settingsByKey(const HeaderSettings& header) {
    return {{key::kCapture, header.captureValue},
            {key::kDeviceType, header.deviceType},
            {key::kFileType, header.fileType},
            {key::kCaptureScale, std::string(header.captureInMinutes ? kMinutes : kSeconds)},
            {key::kLossState, header.lossState},
            {key::kSnifferState, header.snifferState},
            {key::kVendorCode, header.vendorCode},
            {key::kPropertyCode, header.propertyCode},
            {key::kTimeout, header.timeout},
            {key::kNetworkId, header.networkID}};
}

// The lines are messages, in UTF-8; the values they name are file text.
std::string shown(const std::string& value) {
    return value.empty() ? "\"\"" : utf8FromCp1252(value);
}

std::string rowName(int row, const std::string& ours, const std::string& theirs) {
    std::string label = ours.empty() || ours == theirs ? theirs : ours;
    if (!ours.empty() && !theirs.empty() && ours != theirs)
        label = ours + "/" + theirs;
    return "row " + std::to_string(row) + (label.empty() ? "" : " " + utf8FromCp1252(label));
}

} // namespace

Result<ProgramState> readConfiguration(const std::filesystem::path& path) {
    auto lines = readLineFile(path);
    if (!lines)
        return lines.error();
    ProgramState state;
    if (auto loaded = LoadConfiguration(state, *lines); !loaded)
        return loaded.error();
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    state.document.currentFilePath = utf8Of(absolute.empty() ? path : absolute);
    state.document.currentFileTitle = utf8Of(path.filename());
    state.document.hasFileName = true;
    state.document.documentDeviceType = state.header.deviceType;
    return state;
}

std::string locatedError(const std::string& file, const Error& error) {
    return file + (error.line > 0 ? ":" + std::to_string(error.line) : "") + ": " + error.reason;
}

ConfigurationDiff compareConfigurations(const ProgramState& ours, const ProgramState& theirs) {
    ConfigurationDiff diff;
    const auto ourSettings = settingsByKey(ours.header);
    const auto theirSettings = settingsByKey(theirs.header);
    for (std::size_t i = 0; i < ourSettings.size(); ++i)
        if (ourSettings[i].second != theirSettings[i].second)
            diff.settings.push_back({std::string(ourSettings[i].first), ourSettings[i].second,
                                     theirSettings[i].second});

    const RegisterGrid& a = ours.grid;
    const RegisterGrid& b = theirs.grid;
    const auto cell = [](const RegisterGrid& grid, int row, int col) {
        return row < grid.rows() && col < grid.cols() ? grid.cell(row, col) : std::string();
    };
    for (int row = 1; row < std::max(a.rows(), b.rows()); ++row) {
        const std::string name = rowName(row, cell(a, row, 0), cell(b, row, 0));
        if (row >= a.rows() || row >= b.rows()) {
            const char* which = row < a.rows() ? "first" : "second";
            diff.cells.push_back({row, 0, "", "", name + ": only in the " + which + " file"});
            continue;
        }
        for (int col = 1; col < std::max(a.cols(), b.cols()); ++col) {
            const std::string mine = cell(a, row, col);
            const std::string other = cell(b, row, col);
            if (mine == other)
                continue;
            const std::string column = cell(a, 0, col).empty() ? cell(b, 0, col) : cell(a, 0, col);
            diff.cells.push_back({row, col, mine, other,
                                  name + "  " + utf8FromCp1252(column) + ": " + shown(mine) +
                                      " -> " + shown(other)});
        }
    }
    return diff;
}

std::string settingLine(const SettingDifference& difference) {
    return difference.key + ": " + shown(difference.ours) + " -> " + shown(difference.theirs);
}

std::vector<std::string> differenceLines(const ConfigurationDiff& diff) {
    std::vector<std::string> lines;
    for (const auto& setting : diff.settings)
        lines.push_back(settingLine(setting));
    for (const auto& cell : diff.cells)
        lines.push_back(cell.line);
    return lines;
}

} // namespace kym
