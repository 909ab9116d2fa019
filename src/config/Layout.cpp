#include "Layout.h"

#include "DeviceTypes.h"

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

constexpr std::array<std::string_view, 6> kExtenderBands{
    "ANALOG MAIN", "DIGITAL MAIN", "ANALOG EXT1", "DIGITAL EXT1", "ANALOG EXT2", "DIGITAL EXT2"};

} // namespace

void LayoutGrid(ProgramState& state) {
    RegisterGrid& grid = state.grid;
    const std::string& type = state.header.deviceType;

    grid.setRow(0);
    grid.resetRowHeights();

    for (int c = 1; c <= kDataColumns; ++c)
        write(grid, 0, c, kHeaders[static_cast<std::size_t>(c - 1)]);

    grid.setAllColWidths(kDataColumnWidth);
    grid.setColWidth(0, kLabelColumnWidth);

    if (!isTwoOutput(type)) {
        for (int r = 1; r <= 4; ++r)
            write(grid, r, 0, "ANALOG");
        write(grid, 7, 0, "DIGITAL");
        write(grid, 8, 0, "DIGITAL");
    } else {
        for (int r : {1, 2, 3, 4, 7, 8})
            grid.setRowHeight(r, 0);
    }
    write(grid, 5, 0, "DIGITAL");
    write(grid, 6, 0, "DIGITAL");

    if (type == kQx4815) {
        grid.setColWidth(0, kWideLabelColumnWidth);
        for (int r = 1; r <= 24; ++r)
            write(grid, r, 0, kExtenderBands[static_cast<std::size_t>((r - 1) / 4)]);
    }

    state.history.tableLaidOut = true;
    if (findDeviceType(type))
        state.history.layoutDeviceType = type;

    if (type == kQd4805) {
        write(grid, 5, kColTransChan, "1");
        write(grid, 6, kColTransChan, "2");
        write(grid, 5, kColDataFormat, "DIGITAL");
        write(grid, 6, kColDataFormat, "DIGITAL");
    } else if (type == kQd4815) {
        constexpr std::array<std::string_view, 4> kChannels{"1", "2", "3", "4"};
        for (int r = 1; r <= 8; ++r)
            write(grid, r, kColTransChan, kChannels[static_cast<std::size_t>((r - 1) % 4)]);
        for (int r = 1; r <= 8; ++r)
            write(grid, r, kColDataFormat, r <= 4 ? "COUNT" : "DIGITAL");
        for (int r = 1; r <= 4; ++r)
            write(grid, r, kColRangeStart, "0");
        for (int r = 1; r <= 4; ++r)
            write(grid, r, kColRangeEnd, "4095");
    }
}

} // namespace kym
