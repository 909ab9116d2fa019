#include "Frames.h"

#include "config/Conversions.h"

namespace kym {
namespace {

constexpr std::size_t kSentRecordBytes = 8;
constexpr std::size_t kIdBytes = 2;

void append(std::vector<std::uint8_t>& frame, std::span<const std::uint8_t> bytes) {
    frame.insert(frame.end(), bytes.begin(), bytes.end());
}

} // namespace

const std::vector<FrameLayout>& frameTable() {
    static const std::vector<FrameLayout> table{
        {FrameShape::Receiver, 0, {kEsc, 'G', 'J'}, {{0, 8, kSentRecordBytes}}},
        {FrameShape::ExtenderUnits,
         kMainUnit,
         {kEsc, 'G', 'j'},
         {{0, 8, kSentRecordBytes}, {8, 24, kIdBytes}}},
        {FrameShape::ExtenderUnits, kExtendedUnit1, {kEsc, 'G', 'J'}, {{8, 16, kSentRecordBytes}}},
        {FrameShape::ExtenderUnits, kExtendedUnit2, {kEsc, 'G', 'J'}, {{16, 24, kSentRecordBytes}}},
        {FrameShape::TwoOutputReceiver, 0, {kEsc, '\\', 'J'}, {{0, 8, kSentRecordBytes}}},
        {FrameShape::ControlBlock, 0, {kEsc, 'G', 0x11}, {}},
    };
    return table;
}

std::optional<std::vector<std::uint8_t>> buildFrame(const DeviceImage& image,
                                                    std::string_view deviceType, int selectedUnit) {
    const FrameShape shape = traitsOf(deviceType).frame;
    for (const FrameLayout& layout : frameTable()) {
        if (layout.shape != shape || (layout.unit != 0 && layout.unit != selectedUnit))
            continue;
        std::vector<std::uint8_t> frame(layout.command.begin(), layout.command.end());
        if (layout.records.empty())
            append(frame, image.twoControl);
        else
            append(frame, image.header);
        for (const RecordSpan& span : layout.records)
            for (std::size_t r = span.first; r < span.last; ++r)
                append(frame, std::span(image.records[r]).first(span.bytesPerRecord));
        appendCrc(frame);
        return frame;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> followUpFrame() {
    std::vector<std::uint8_t> frame{kEsc, 'N', 0x01, 0x01};
    appendCrc(frame);
    return frame;
}

} // namespace kym
