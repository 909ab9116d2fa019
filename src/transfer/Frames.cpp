#include "Frames.h"

#include "Conversions.h"
#include "config/DeviceTypes.h"

#include <initializer_list>

namespace kym {
namespace {

class FrameBuilder {
public:
    explicit FrameBuilder(std::initializer_list<std::uint8_t> command) : bytes_(command) {}

    FrameBuilder& add(std::span<const std::uint8_t> bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // Bytes first to last - 1 of each record from first to last - 1.
    FrameBuilder& records(const RegisterRecords& records, std::size_t first, std::size_t last,
                          std::size_t bytesPerRecord) {
        for (std::size_t r = first; r < last; ++r)
            add(std::span(records[r]).first(bytesPerRecord));
        return *this;
    }
    std::vector<std::uint8_t> finish() {
        appendCrc(bytes_);
        return std::move(bytes_);
    }

private:
    std::vector<std::uint8_t> bytes_;
};

constexpr std::size_t kSentRecordBytes = 8;
constexpr std::size_t kIdBytes = 2;

std::vector<std::uint8_t> unitFrame(const DeviceImage& image,
                                    std::initializer_list<std::uint8_t> command,
                                    std::size_t firstRecord) {
    return FrameBuilder(command)
        .add(image.header)
        .records(image.records, firstRecord, firstRecord + 8, kSentRecordBytes)
        .finish();
}

} // namespace

std::optional<std::vector<std::uint8_t>> BuildFrame(const DeviceImage& image,
                                                    std::string_view deviceType, int selectedUnit) {
    if (deviceType == kKym3815 || deviceType == kQd4815)
        return unitFrame(image, {kEsc, 'G', 'J'}, 0);
    if (deviceType == kQx4815) {
        switch (selectedUnit) {
        case kMainUnit:
            return FrameBuilder({kEsc, 'G', 'j'})
                .add(image.header)
                .records(image.records, 0, 8, kSentRecordBytes)
                .records(image.records, 8, 24, kIdBytes)
                .finish();
        case kExtendedUnit1:
            return unitFrame(image, {kEsc, 'G', 'J'}, 8);
        case kExtendedUnit2:
            return unitFrame(image, {kEsc, 'G', 'J'}, 16);
        default:
            return std::nullopt;
        }
    }
    if (deviceType == kQr4805)
        return unitFrame(image, {kEsc, '\\', 'J'}, 0);
    if (deviceType == kQd4805)
        return FrameBuilder({kEsc, 'G', 0x11}).add(image.twoControl).finish();
    return std::nullopt;
}

std::vector<std::uint8_t> FollowUpFrame() {
    return FrameBuilder({kEsc, 'N', 0x01, 0x01}).finish();
}

} // namespace kym
