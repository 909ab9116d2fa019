#include "check/FileCheck.h"
#include "cli/Commands.h"
#include "config/DeviceTypes.h"
#include "config/Layout.h"
#include "config/Paths.h"
#include "transfer/Conversions.h"
#include "transfer/Frames.h"
#include "transfer/ImageCompiler.h"

#include <iostream>
#include <memory>
#include <span>

namespace kym::cli {
namespace {

// Exit codes of frame and image.
constexpr int kCannotOpen = 1;
constexpr int kCompileFailed = 2;
constexpr int kNoFrame = 3;

std::string hex(std::uint8_t byte) {
    return hexText({&byte, 1});
}

std::optional<LineList> readOrReport(const std::string& command, const std::string& file) {
    auto lines = readLineFile(pathFromUtf8(file));
    if (!lines) {
        std::cerr << "kymtool " << command << ": " << file << ": " << lines.error().reason << '\n';
        return std::nullopt;
    }
    return std::move(lines.value());
}

void reportErrors(const std::string& file, const Compilation& compiled) {
    if (!compiled.errors.empty())
        std::cerr << compiled.errorReport(file) << '\n';
}

int frame(const std::string& file, int unit) {
    const auto lines = readOrReport("frame", file);
    if (!lines)
        return kCannotOpen;
    const Compilation compiled = CompileConfiguration(*lines);
    if (!compiled.fileReady) {
        reportErrors(file, compiled);
        return kCompileFailed;
    }
    const auto bytes = buildFrame(compiled.image, compiled.deviceTypeText, unit);
    if (!bytes) {
        std::cerr << file << ": no frame for device type " << inQuotes(compiled.deviceTypeText)
                  << " and unit " << unit << '\n';
        return kNoFrame;
    }
    std::cout << hexText(*bytes) << '\n';
    if (compiled.deviceTypeText == kQr4805)
        std::cout << hexText(followUpFrame()) << '\n';
    return 0;
}

std::string formatName(std::uint8_t code) {
    for (const auto& entry : kDataFormatCodes)
        if (entry.code == code)
            return std::string(entry.name);
    return {};
}

std::string signedWord(std::uint8_t high, std::uint8_t low) {
    return std::to_string(static_cast<std::int16_t>((high << 8) | low));
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

void printHeader(const ImageHeader& h) {
    using namespace headerbyte;
    const std::uint8_t flags = h[kFlags];
    const std::uint8_t network = h[kNetwork];
    std::cout << "Image header\n";
    printByteTable(h, {
                          "capture time: " + std::to_string(h[kCapture]),
                          "device code: " + std::to_string(h[kDeviceCode]),
                          std::string("flags: capture in ") +
                              ((flags & kMinutesFlag) ? "minutes" : "seconds") + ", outputs " +
                              ((flags & kLossOffFlag) ? "off" : "keep their last state") +
                              " on loss of transmitter",
                          "vendor code, high byte",
                          "vendor code, low byte",
                          "property code, high byte",
                          "property code, low byte",
                          "transmitter time-out: " + std::to_string(h[kTimeout]),
                          "network ID " + std::to_string(network & ~kSnifferFlag) + ", " +
                              ((network & kSnifferFlag) ? "monitor" : "coordinate") + " network ID",
                          "register rows: " + std::to_string(h[kRowCount]),
                      });
}

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

void printRecords(const RegisterRecords& records, const std::string& deviceType) {
    const auto labels = rowLabels(deviceType);
    std::cout << "Register records (bytes 0 to 7; byte 8 is never sent)\n"
              << cell("record", 6) << cell("row label", 14) << cell("bytes", 23) << cell("id", 4)
              << rightCell("chan", 4) << cell("format", 14) << rightCell("start", 6) << "end\n";
    for (std::size_t r = 0; r < records.size(); ++r) {
        const RegisterRecord& rec = records[r];
        std::cout << rightCell(std::to_string(r), 6) << cell(labels[r], 14)
                  << cell(hexText(std::span(rec).first(8)), 23)
                  << cell(hex(rec[0]) + hex(rec[1]), 4) << rightCell(std::to_string(rec[2]), 4)
                  << cell(std::to_string(rec[3]) + " " + formatName(rec[3]), 14)
                  << rightCell(signedWord(rec[4], rec[5]), 6) << signedWord(rec[6], rec[7]) << '\n';
    }
}

void printTwoControlBlock(const TwoControlBlock& block) {
    std::cout << "Two-control block\n";
    printByteTable(block,
                   {"network byte", "fixed", "fixed", "transmitter ID of DIGITAL MAIN 1, high byte",
                    "transmitter ID of DIGITAL MAIN 1, low byte", "fixed", "fixed", "fixed",
                    "capture time", "flags", "transmitter time-out", "fixed", "fixed",
                    "vendor code, high byte", "vendor code, low byte", "property code, high byte",
                    "property code, low byte"});
}

int image(const std::string& file) {
    const auto lines = readOrReport("image", file);
    if (!lines)
        return kCannotOpen;
    const Compilation compiled = CompileConfiguration(*lines);
    std::cout << "Device type: " << compiled.deviceTypeText
              << "\nFile status: " << compiled.statusText() << "\n\n";
    printHeader(compiled.image.header);
    std::cout << '\n';
    printRecords(compiled.image.records, compiled.deviceTypeText);
    std::cout << '\n';
    printTwoControlBlock(compiled.image.twoControl);
    reportErrors(file, compiled);
    return compiled.fileReady ? 0 : kCompileFailed;
}

int check(const std::string& file) {
    constexpr int kWarnings = 1;
    constexpr int kErrors = 2;
    auto lines = readLineFile(pathFromUtf8(file));
    if (!lines) {
        std::cout << file << ":0: error: cannot open the file: " << lines.error().reason << '\n';
        return kErrors;
    }
    int exitCode = 0;
    for (const auto& finding : CheckConfiguration(*lines)) {
        const bool isError = finding.severity == Finding::Severity::Error;
        std::cout << file << ':' << finding.line << ": " << (isError ? "error: " : "warning: ")
                  << finding.message << '\n';
        exitCode = std::max(exitCode, isError ? kErrors : kWarnings);
    }
    return exitCode;
}

} // namespace

void addImageCommands(CLI::App& app, int& exitCode) {
    struct Arguments {
        std::string file;
        int unit = kMainUnit;
    };
    const auto args = std::make_shared<Arguments>();

    auto* frameCommand = app.add_subcommand(
        "frame", "Compile a configuration file as Send File does and print the frame it sends");
    frameCommand->add_option("FILE", args->file, "Configuration file")->required();
    frameCommand
        ->add_option("--unit", args->unit,
                     "Unit of an extender system: 1 main unit, 2 extended unit 1, 3 extended unit "
                     "2; a unit without a frame exits 3")
        ->capture_default_str();
    frameCommand->callback([args, &exitCode] { exitCode = frame(args->file, args->unit); });

    auto* imageCommand = app.add_subcommand(
        "image", "Compile a configuration file and show the device image byte by byte");
    imageCommand->add_option("FILE", args->file, "Configuration file")->required();
    imageCommand->callback([args, &exitCode] { exitCode = image(args->file); });

    auto* checkCommand = app.add_subcommand(
        "check", "Read a configuration file as Open does, compile it as Send File does and list "
                 "every problem (exit 0 clean, 1 warnings only, 2 errors)");
    checkCommand->add_option("FILE", args->file, "Configuration file")->required();
    checkCommand->callback([args, &exitCode] { exitCode = check(args->file); });
}

} // namespace kym::cli
