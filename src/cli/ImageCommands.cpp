#include "check/FileCheck.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "config/CodePage.h"
#include "config/Conversions.h"
#include "config/DataFormats.h"
#include "config/DeviceTypes.h"
#include "config/Layout.h"
#include "config/Paths.h"
#include "transfer/Frames.h"
#include "transfer/ImageCompiler.h"

#include <algorithm>
#include <functional>
#include <iostream>
#include <memory>
#include <span>

namespace kym::cli {
namespace {

// Exit codes of frame and image.
constexpr int kCannotOpen = 1;
constexpr int kCompileFailed = 2;
constexpr int kNoFrame = 3;

// The exit codes of each command from best to worst; a run over several files exits with the
// worst of its files. A file that cannot be opened is worse than one that does not compile,
// which is worse than one that compiles without a frame for the unit.
constexpr int kFrameBadness[] = {0, kNoFrame, kCompileFailed, kCannotOpen};
constexpr int kImageBadness[] = {0, kCompileFailed, kCannotOpen};
constexpr int kCheckBadness[] = {0, 1, 2};

std::string hex(std::uint8_t byte) {
    return hexText({&byte, 1});
}

// The per-file entry under --json, else null: the text output is printed as the file is done.
using FileCommand = std::function<int(const std::string& file, Json* entry)>;

// Runs a command over each file. Text: with several files, each file's standard output under a
// "==> FILE <==" line when headed, as head(1) does. JSON: one document whose "files" holds each
// file's entry in order.
int eachFile(std::string_view command, const std::vector<std::string>& files, bool json,
             bool headed, std::span<const int> badness, const FileCommand& run) {
    const auto rank = [&](int code) { return std::ranges::find(badness, code) - badness.begin(); };
    int worst = badness.front();
    Json entries = Json::array();
    for (const auto& file : files) {
        if (!json && headed && files.size() > 1)
            std::cout << (&file == &files.front() ? "" : "\n") << "==> " << file << " <==\n";
        Json entry{{"file", file}, {"exit", 0}};
        const int code = run(file, json ? &entry : nullptr);
        entry["exit"] = code;
        if (json)
            entries.push_back(std::move(entry));
        if (rank(code) > rank(worst))
            worst = code;
    }
    if (json)
        writeJsonDocument(std::cout, command, {{"exit", worst}, {"files", std::move(entries)}});
    return worst;
}

// A problem of a file as the text output names it on stderr: a file that cannot be opened with
// the command, a frame that is missing by the file alone, a compile error with its line.
void printError(std::string_view command, const std::string& file, int code, const Error& error) {
    if (code == kCannotOpen)
        std::cerr << "kymtool " << command << ": " << file << ": " << error.reason << '\n';
    else if (code == kNoFrame)
        std::cerr << file << ": " << error.reason << '\n';
    else
        std::cerr << file << ':' << error.line << ": " << error.reason << '\n';
}

const char* outcomeName(int code) {
    switch (code) {
    case 0:
        return "ok";
    case kCannotOpen:
        return "cannot-open";
    case kCompileFailed:
        return "compile-failed";
    default:
        return "no-frame";
    }
}

struct FrameResult {
    int exitCode = 0;
    std::optional<std::string> deviceType; // none when the file could not be read
    std::vector<std::vector<std::uint8_t>> frames;
    std::vector<Error> errors;
};

FrameResult frameOf(const std::string& file, int unit) {
    const auto lines = readLineFile(pathFromUtf8(file));
    if (!lines)
        return {kCannotOpen, std::nullopt, {}, {lines.error()}};
    const Compilation compiled = CompileConfiguration(*lines);
    if (!compiled.fileReady)
        return {kCompileFailed, compiled.deviceTypeText, {}, compiled.errors};
    const auto bytes = buildFrame(compiled.image, compiled.deviceTypeText, unit);
    if (!bytes)
        return {kNoFrame,
                compiled.deviceTypeText,
                {},
                {{"no frame for device type " + inQuotes(compiled.deviceTypeText) + " and unit " +
                  std::to_string(unit)}}};
    FrameResult result{0, compiled.deviceTypeText, {*bytes}, {}};
    if (traitsOf(compiled.deviceTypeText).takesFollowUp)
        result.frames.push_back(followUpFrame());
    return result;
}

int frame(const std::string& file, int unit, Json* json) {
    const FrameResult result = frameOf(file, unit);
    if (json) {
        Json frames = Json::array();
        for (const auto& bytes : result.frames)
            frames.push_back(frameJson(bytes));
        json->update(
            {{"outcome", outcomeName(result.exitCode)},
             {"deviceType", result.deviceType ? Json(utf8FromCp1252(*result.deviceType)) : Json()},
             {"unit", unit},
             {"frames", std::move(frames)},
             {"errors", errorsJson(result.errors)}});
        return result.exitCode;
    }
    for (const auto& bytes : result.frames)
        std::cout << hexText(bytes) << '\n';
    for (const Error& error : result.errors)
        printError("frame", file, result.exitCode, error);
    return result.exitCode;
}

std::string formatName(std::uint8_t code) {
    return std::string(dataFormatNamed(code));
}

// Left-aligned in a column of the width, with the two blanks that separate columns.
std::string cell(const std::string& text, std::size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ') + "  ";
}
std::string rightCell(const std::string& text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text + "  ";
}

void printByteTable(std::span<const std::uint8_t> bytes, const std::vector<std::string>& meanings) {
    std::cout << "byte  hex  meaning\n";
    for (std::size_t b = 0; b < bytes.size(); ++b)
        std::cout << rightCell(std::to_string(b), 4) << ' ' << hex(bytes[b]) << "  " << meanings[b]
                  << '\n';
}

Json byteTableJson(std::span<const std::uint8_t> bytes, const std::vector<std::string>& meanings) {
    Json table = Json::array();
    for (std::size_t b = 0; b < bytes.size(); ++b)
        table.push_back({{"byte", b}, {"value", bytes[b]}, {"meaning", meanings[b]}});
    return table;
}

std::vector<std::string> headerMeanings(const ImageHeader& h) {
    using namespace headerbyte;
    const std::uint8_t flags = h[kFlags];
    const std::uint8_t network = h[kNetwork];
    return {
        "capture time: " + std::to_string(h[kCapture]),
        "device code: " + std::to_string(h[kDeviceCode]),
        std::string("flags: capture in ") + ((flags & kMinutesFlag) ? "minutes" : "seconds") +
            ", outputs " + ((flags & kLossOffFlag) ? "off" : "keep their last state") +
            " on loss of transmitter",
        "vendor code, high byte",
        "vendor code, low byte",
        "property code, high byte",
        "property code, low byte",
        "transmitter time-out: " + std::to_string(h[kTimeout]),
        "network ID " + std::to_string(network & ~kSnifferFlag) + ", " +
            ((network & kSnifferFlag) ? "monitor" : "coordinate") + " network ID",
        "register rows: " + std::to_string(h[kRowCount]),
    };
}

const std::vector<std::string> kTwoControlMeanings = {"network byte",
                                                      "fixed",
                                                      "fixed",
                                                      "transmitter ID of DIGITAL MAIN 1, high byte",
                                                      "transmitter ID of DIGITAL MAIN 1, low byte",
                                                      "fixed",
                                                      "fixed",
                                                      "fixed",
                                                      "capture time",
                                                      "flags",
                                                      "transmitter time-out",
                                                      "fixed",
                                                      "fixed",
                                                      "vendor code, high byte",
                                                      "vendor code, low byte",
                                                      "property code, high byte",
                                                      "property code, low byte"};

// The labels the register table shows for the device type, by record.
std::vector<std::string> rowLabels(const std::string& deviceType) {
    ProgramState state;
    state.header.deviceType = deviceType;
    state.grid.setCols(kDataColumns + 1);
    state.grid.setRows(gridRowsFor(deviceType));
    LayoutGrid(state);
    std::vector<std::string> labels;
    for (int row = 1; row <= 25; ++row)
        labels.push_back(row == 25 ? "(storage only)" : state.grid.cell(row, 0));
    return labels;
}

std::int16_t signedWord(std::uint8_t high, std::uint8_t low) {
    return static_cast<std::int16_t>((high << 8) | low);
}

void printRecords(const RegisterRecords& records, const std::vector<std::string>& labels) {
    std::cout << "Register records (bytes 0 to 7; byte 8 is never sent)\n"
              << cell("record", 6) << cell("row label", 14) << cell("bytes", 23) << cell("id", 4)
              << rightCell("chan", 4) << cell("format", 14) << rightCell("start", 6) << "end\n";
    for (std::size_t r = 0; r < records.size(); ++r) {
        const RegisterRecord& rec = records[r];
        std::cout << rightCell(std::to_string(r), 6) << cell(labels[r], 14)
                  << cell(hexText(std::span(rec).first(8)), 23)
                  << cell(hex(rec[0]) + hex(rec[1]), 4) << rightCell(std::to_string(rec[2]), 4)
                  << cell(std::to_string(rec[3]) + " " + formatName(rec[3]), 14)
                  << rightCell(std::to_string(signedWord(rec[4], rec[5])), 6)
                  << signedWord(rec[6], rec[7]) << '\n';
    }
}

Json recordsJson(const RegisterRecords& records, const std::vector<std::string>& labels) {
    Json list = Json::array();
    for (std::size_t r = 0; r < records.size(); ++r) {
        const RegisterRecord& rec = records[r];
        list.push_back({{"record", r},
                        {"rowLabel", labels[r]},
                        {"bytes", std::span(rec).first(8)},
                        {"transmitterId", hex(rec[0]) + hex(rec[1])},
                        {"channel", rec[2]},
                        {"formatCode", rec[3]},
                        {"formatName", formatName(rec[3])},
                        {"rangeStart", signedWord(rec[4], rec[5])},
                        {"rangeEnd", signedWord(rec[6], rec[7])}});
    }
    return list;
}

int image(const std::string& file, Json* json) {
    const auto lines = readLineFile(pathFromUtf8(file));
    if (!lines) {
        if (json)
            json->update(
                {{"outcome", outcomeName(kCannotOpen)}, {"errors", errorsJson({lines.error()})}});
        else
            printError("image", file, kCannotOpen, lines.error());
        return kCannotOpen;
    }
    const Compilation compiled = CompileConfiguration(*lines);
    const int code = compiled.fileReady ? 0 : kCompileFailed;
    const DeviceImage& image = compiled.image;
    const auto labels = rowLabels(compiled.deviceTypeText);
    if (json) {
        json->update({{"outcome", outcomeName(code)},
                      {"deviceType", compiled.deviceTypeText},
                      {"fileReady", compiled.fileReady},
                      {"fileStatus", compiled.statusText()},
                      {"header", byteTableJson(image.header, headerMeanings(image.header))},
                      {"records", recordsJson(image.records, labels)},
                      {"twoControl", byteTableJson(image.twoControl, kTwoControlMeanings)},
                      {"errors", errorsJson(compiled.errors)}});
        return code;
    }
    std::cout << "Device type: " << compiled.deviceTypeText
              << "\nFile status: " << compiled.statusText() << "\n\nImage header\n";
    printByteTable(image.header, headerMeanings(image.header));
    std::cout << '\n';
    printRecords(image.records, labels);
    std::cout << "\nTwo-control block\n";
    printByteTable(image.twoControl, kTwoControlMeanings);
    for (const Error& error : compiled.errors)
        printError("image", file, code, error);
    return code;
}

int check(const std::string& file, Json* json) {
    constexpr int kWarnings = 1;
    constexpr int kErrors = 2;
    auto lines = readLineFile(pathFromUtf8(file));
    const auto findings =
        lines ? CheckConfiguration(*lines)
              : std::vector<Finding>{
                    {Finding::Severity::Error, 0, "cannot open the file: " + lines.error().reason}};
    int exitCode = 0;
    Json list = Json::array();
    for (const auto& finding : findings) {
        const bool isError = finding.severity == Finding::Severity::Error;
        if (json)
            list.push_back({{"line", finding.line},
                            {"severity", isError ? "error" : "warning"},
                            {"message", finding.message}});
        else
            std::cout << file << ':' << finding.line << ": " << (isError ? "error: " : "warning: ")
                      << finding.message << '\n';
        exitCode = std::max(exitCode, isError ? kErrors : kWarnings);
    }
    if (json)
        json->update({{"outcome", std::array{"clean", "warnings", "errors"}[exitCode]},
                      {"findings", std::move(list)}});
    return exitCode;
}

} // namespace

void addImageCommands(CLI::App& app, int& exitCode) {
    struct Arguments {
        std::vector<std::string> files;
        int unit = kMainUnit;
        bool json = false;
    };
    const auto args = std::make_shared<Arguments>();
    const auto addCommon = [&](CLI::App* command) {
        command->add_option("FILE", args->files, "Configuration files")->required();
        command->add_flag("--json", args->json,
                          "Print one JSON document (\"format\": 1) in place of the text");
    };

    auto* frameCommand = app.add_subcommand(
        "frame", "Compile configuration files as Send File does and print the frames they send "
                 "(exit: the worst file's; 1 cannot open is worse than 2 compile failed, worse "
                 "than 3 no frame)");
    addCommon(frameCommand);
    frameCommand
        ->add_option("--unit", args->unit,
                     "Unit of an extender system: 1 main unit, 2 extended unit 1, 3 extended unit "
                     "2; a unit without a frame exits 3")
        ->capture_default_str();
    frameCommand->callback([args, &exitCode] {
        exitCode = eachFile(
            "frame", args->files, args->json, true, kFrameBadness,
            [&](const std::string& file, Json* json) { return frame(file, args->unit, json); });
    });

    auto* imageCommand = app.add_subcommand(
        "image", "Compile configuration files and show the device image byte by byte (exit: the "
                 "worst file's; 1 cannot open is worse than 2 compile failed)");
    addCommon(imageCommand);
    imageCommand->callback([args, &exitCode] {
        exitCode = eachFile("image", args->files, args->json, true, kImageBadness, image);
    });

    auto* checkCommand = app.add_subcommand(
        "check", "Read configuration files as Open does, compile them as Send File does and list "
                 "every problem (exit 0 clean, 1 warnings only, 2 errors; the worst file's)");
    addCommon(checkCommand);
    checkCommand->callback([args, &exitCode] {
        exitCode = eachFile("check", args->files, args->json, false, kCheckBadness, check);
    });
}

} // namespace kym::cli
