#include "cli/JsonOutput.h"

#include "config/Conversions.h"

namespace kym::cli {

void writeJsonDocument(std::ostream& out, std::string_view command, const Json& fields) {
    Json document{{"format", kJsonFormat}, {"command", command}};
    document.update(fields);
    out << document.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
}

Json frameJson(std::span<const std::uint8_t> frame) {
    const std::size_t n = frame.size();
    return {{"hex", hexText(frame)},
            {"bytes", frame},
            {"length", n},
            {"checksum", n < 2 ? 0 : frame[n - 2] | frame[n - 1] << 8}};
}

Json errorsJson(const std::vector<Error>& errors) {
    Json list = Json::array();
    for (const Error& error : errors)
        list.push_back({{"line", error.line}, {"reason", error.reason}});
    return list;
}

} // namespace kym::cli
