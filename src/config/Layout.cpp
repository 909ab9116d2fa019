#include "Layout.h"

#include "DeviceTypes.h"
#include "ValueLists.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kym {
namespace {

void write(RegisterGrid& grid, int row, int col, std::string_view text) {
    if (row >= grid.rows() || col >= grid.cols())
        return;
    grid.setRow(row);
    grid.setCol(col);
    grid.setText(std::string(text));
}

constexpr std::array<std::string_view, 5> kHeaders{"TRANSMITTER ID", "TRANS CHAN", "DATA FORMAT",
                                                   "RANGE START", "RANGE END"};

// Row labels; a digital row's label happens to read like the DATA FORMAT of its outputs.
constexpr std::string_view kAnalogLabel = "ANALOG";
constexpr std::string_view kDigitalLabel = "DIGITAL";
constexpr std::array<std::string_view, 6> kExtenderBands{
    "ANALOG MAIN", "DIGITAL MAIN", "ANALOG EXT1", "DIGITAL EXT1", "ANALOG EXT2", "DIGITAL EXT2"};

} // namespace

void LayoutGrid(ProgramState& state) {
    RegisterGrid& grid = state.grid;
    const std::string& type = state.header.deviceType;
    const DeviceTraits& traits = traitsOf(type);

    grid.setRow(0);
    grid.resetRowHeights();

    for (int c = 1; c <= kDataColumns; ++c)
        write(grid, 0, c, kHeaders[static_cast<std::size_t>(c - 1)]);

    grid.setAllColWidths(kDataColumnWidth);
    grid.setColWidth(0, kLabelColumnWidth);

    if (!traits.twoOutput) {
        for (int r = 1; r <= 4; ++r)
            write(grid, r, 0, kAnalogLabel);
        write(grid, 7, 0, kDigitalLabel);
        write(grid, 8, 0, kDigitalLabel);
    } else {
        for (int r = 1; r <= 8; ++r)
            if (std::ranges::find(kTwoOutputRows, r) == kTwoOutputRows.end())
                grid.setRowHeight(r, 0);
    }
    write(grid, 5, 0, kDigitalLabel);
    write(grid, 6, 0, kDigitalLabel);

    if (traits.hasExtendedSystem) {
        grid.setColWidth(0, kWideLabelColumnWidth);
        for (int r = 1; r <= 24; ++r)
            write(grid, r, 0, kExtenderBands[static_cast<std::size_t>((r - 1) / 4)]);
    }

    state.history.tableLaidOut = true;
    if (findDeviceType(type))
        state.history.layoutDeviceType = type;

    for (const FilledRun& run : traits.filledCells) {
        for (int r = run.firstRow; r <= run.lastRow; ++r) {
            const std::size_t channel = static_cast<std::size_t>((r - 1) % 4 + 1);
            write(grid, r, run.col, run.text.empty() ? channelEntries()[channel] : run.text);
        }
    }
}

} // namespace kym
