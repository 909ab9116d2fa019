#include "report/Csv.h"

namespace kym {

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

namespace {
template <typename Text> std::string joined(std::span<const Text> fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i)
        line += (i == 0 ? "" : ",") + csvField(fields[i]);
    return line + "\r\n";
}
} // namespace

std::string csvRow(std::span<const std::string_view> fields) {
    return joined(fields);
}

std::string csvRow(std::span<const std::string> fields) {
    return joined(fields);
}

Result<std::vector<CsvRow>> parseCsv(std::string_view text) {
    std::vector<CsvRow> rows;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        CsvRow row{line, {}};
        std::string field;
        bool more = true;
        while (more) {
            if (i < text.size() && text[i] == '"') {
                for (++i;; ++i) {
                    if (i >= text.size())
                        return Error{"a quoted field is not closed", row.line};
                    if (text[i] == '"' && (i + 1 >= text.size() || text[i + 1] != '"'))
                        break;
                    if (text[i] == '"')
                        ++i;
                    line += text[i] == '\n';
                    field += text[i];
                }
                ++i;
            }
            while (i < text.size() && text[i] != ',' && text[i] != '\n')
                field += text[i++];
            if (!field.empty() && field.back() == '\r' && (i >= text.size() || text[i] == '\n'))
                field.pop_back();
            row.fields.push_back(std::move(field));
            field.clear();
            more = i < text.size() && text[i] == ',';
            ++i;
        }
        ++line;
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace kym
