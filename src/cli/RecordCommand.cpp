#include "cli/Commands.h"
#include "config/Folders.h"
#include "transfer/ProgrammingRecord.h"

#include <algorithm>
#include <iostream>
#include <memory>

namespace kym::cli {
namespace {

// A terminal wants LF where the file has CR LF.
void printLine(std::string_view line) {
    std::cout << line.substr(0, line.size() - 2) << '\n';
}

int printRecord(std::size_t last) {
    const ProgrammingRecord record(Folders::forUser().programmingRecord());
    const auto entries = record.read();
    if (!entries) {
        std::cerr << "kymtool record: " << entries.error().reason << '\n';
        return 1;
    }
    printLine(kRecordHeader);
    const std::size_t skip = last > 0 ? entries->size() - std::min(last, entries->size()) : 0;
    for (auto entry = entries->begin() + static_cast<std::ptrdiff_t>(skip); entry != entries->end();
         ++entry)
        printLine(csvLine(*entry));
    return 0;
}

} // namespace

void addRecordCommand(CLI::App& app, int& exitCode) {
    const auto last = std::make_shared<std::size_t>(0);
    auto* command = app.add_subcommand(
        "record", "Print the programming record (programming-record.csv in the kym folder) as "
                  "CSV, oldest first");
    command->add_option("--last", *last, "Only the last N lines")->check(CLI::PositiveNumber);
    command->callback([last, &exitCode] { exitCode = printRecord(*last); });
}

} // namespace kym::cli
