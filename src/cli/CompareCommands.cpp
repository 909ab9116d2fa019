#include "cli/Commands.h"
#include "config/ConfigFile.h"
#include "config/Paths.h"
#include "editor/Comparison.h"
#include "editor/Record.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif
#ifndef KYM_CORE_ONLY
#include "editor/RecordPdf.h"

#include <QGuiApplication>
#endif

namespace kym::cli {
namespace {

// Exit codes of diff and export.
constexpr int kDiffer = 1;
constexpr int kCannotWrite = 1;
constexpr int kCannotRead = 2;

std::optional<ProgramState> readOrReport(const std::string& file) {
    auto state = readConfiguration(pathFromUtf8(file));
    if (!state) {
        std::cerr << locatedError(file, state.error()) << '\n';
        return std::nullopt;
    }
    return std::move(state.value());
}

int diff(const std::string& first, const std::string& second) {
    const auto ours = readOrReport(first);
    const auto theirs = readOrReport(second);
    if (!ours || !theirs)
        return kCannotRead;
    const auto lines = differenceLines(compareConfigurations(*ours, *theirs));
    for (const auto& line : lines)
        std::cout << line << '\n';
    return lines.empty() ? 0 : kDiffer;
}

int writeOrPrint(const std::string& bytes, const std::string& output) {
    if (output.empty()) {
#ifdef _WIN32
        // The CSV's own CR LF must not become CR CR LF.
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        std::cout << bytes << std::flush;
        return 0;
    }
    if (auto written = writeFileAtomically(pathFromUtf8(output), bytes); !written) {
        std::cerr << output << ": " << written.error().reason << '\n';
        return kCannotWrite;
    }
    return 0;
}

int writePdf(const std::string& html, const std::string& output) {
#ifdef KYM_CORE_ONLY
    (void)html;
    (void)output;
    std::cerr << "kymtool export: this build of kymtool lacks PDF (Qt); use the full build for "
                 "--format pdf\n";
    return 2;
#else
    // A PDF needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "kymtool";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    if (auto written = writeRecordPdf(html, pathFromUtf8(output)); !written) {
        std::cerr << output << ": " << written.error().reason << '\n';
        return kCannotWrite;
    }
    return 0;
#endif
}

int exportRecord(const std::string& file, const std::string& format, std::string output) {
    const auto state = readOrReport(file);
    if (!state)
        return kCannotRead;
    const ConfigurationRecord record = recordOf(*state, std::chrono::system_clock::now());
    if (format == "csv")
        return writeOrPrint(recordCsv(record), output);
    if (format == "html")
        return writeOrPrint(recordHtml(record), output);
    if (output.empty())
        output = utf8Of(pathFromUtf8(file).replace_extension(".pdf"));
    return writePdf(recordHtml(record), output);
}

} // namespace

void addCompareCommands(CLI::App& app, int& exitCode) {
    struct Arguments {
        std::string first, second, file, format, output;
    };
    const auto args = std::make_shared<Arguments>();

    auto* diffCommand = app.add_subcommand(
        "diff", "Compare two configuration files: one line per difference; exit 0 when equal, "
                "1 when they differ, 2 when one cannot be read");
    diffCommand->add_option("A", args->first, "First configuration file")->required();
    diffCommand->add_option("B", args->second, "Second configuration file")->required();
    diffCommand->callback([args, &exitCode] { exitCode = diff(args->first, args->second); });

    auto* exportCommand = app.add_subcommand(
        "export", "Write the record File > Print makes: CSV (the table) or HTML or PDF (the page)");
    exportCommand->add_option("FILE", args->file, "Configuration file")->required();
    exportCommand->add_option("--format", args->format, "csv, html or pdf")
        ->required()
        ->check(CLI::IsMember({"csv", "html", "pdf"}));
    exportCommand->add_option("--output", args->output,
                              "File to write; CSV and HTML go to standard output without it, "
                              "PDF beside FILE with the extension .pdf");
    exportCommand->callback(
        [args, &exitCode] { exitCode = exportRecord(args->file, args->format, args->output); });
}

} // namespace kym::cli
