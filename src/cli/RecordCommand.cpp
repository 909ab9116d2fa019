#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "config/Folders.h"
#include "transfer/ProgrammingRecord.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <span>

namespace kym::cli {
namespace {

// A terminal wants LF where the file has CR LF.
void printLine(std::string_view line) {
    std::cout << line.substr(0, line.size() - 2) << '\n';
}

Json entryJson(const RecordEntry& entry) {
    Json json = Json::object();
    for (const RecordField& field : kRecordFields)
        json[std::string(field.jsonName)] =
            field.text ? Json(entry.*field.text) : Json(entry.*field.number);
    return json;
}

int printRecord(std::size_t last, bool json) {
    const ProgrammingRecord record(Folders::forUser().programmingRecord());
    const auto entries = record.read();
    if (!entries) {
        if (json)
            writeJsonDocument(
                std::cout, "record",
                {{"exit", 1}, {"error", entries.error().reason}, {"entries", nullptr}});
        else
            std::cerr << "kymtool record: " << entries.error().reason << '\n';
        return 1;
    }
    const std::size_t skip = last > 0 ? entries->size() - std::min(last, entries->size()) : 0;
    const auto shown = std::span(*entries).subspan(skip);
    if (json) {
        Json list = Json::array();
        for (const auto& entry : shown)
            list.push_back(entryJson(entry));
        writeJsonDocument(std::cout, "record", {{"exit", 0}, {"entries", std::move(list)}});
        return 0;
    }
    printLine(recordHeaderLine());
    for (const auto& entry : shown)
        printLine(csvLine(entry));
    return 0;
}

} // namespace

void addRecordCommand(CLI::App& app, int& exitCode) {
    struct Arguments {
        std::size_t last = 0;
        bool json = false;
    };
    const auto args = std::make_shared<Arguments>();
    auto* command = app.add_subcommand(
        "record", "Print the programming record (programming-record.csv in the kym folder) as "
                  "CSV, oldest first");
    command->add_option("--last", args->last, "Only the last N lines")->check(CLI::PositiveNumber);
    command->add_flag("--json", args->json, "One JSON document on stdout");
    command->callback([args, &exitCode] { exitCode = printRecord(args->last, args->json); });
}

} // namespace kym::cli
