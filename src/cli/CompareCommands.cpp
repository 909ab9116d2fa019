#include "cli/Commands.h"
#include "cli/JsonOutput.h"
#include "config/CodePage.h"
#include "config/ConfigFile.h"
#include "config/Paths.h"
#include "report/Comparison.h"
#include "report/Record.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif
#ifndef KYM_CORE_ONLY
#include "report/RecordPdf.h"

#include <QGuiApplication>
#endif

namespace kym::cli {
namespace {

// Exit codes of diff and export.
constexpr int kDiffer = 1;
constexpr int kCannotWrite = 1;
constexpr int kCannotRead = 2;

// The read error goes to stderr, or under --json into errors as {"file", "line", "reason"}.
std::optional<ProgramState> readOrReport(const std::string& file, Json* errors = nullptr) {
    auto state = readConfiguration(pathFromUtf8(file));
    if (!state) {
        if (errors)
            errors->push_back(
                {{"file", file}, {"line", state.error().line}, {"reason", state.error().reason}});
        else
            std::cerr << locatedError(file, state.error()) << '\n';
        return std::nullopt;
    }
    return std::move(state.value());
}

// The values are file text; JSON is UTF-8.
Json diffJson(const ConfigurationDiff& diff) {
    Json settings = Json::array();
    for (const auto& s : diff.settings)
        settings.push_back({{"key", s.key},
                            {"first", utf8FromCp1252(s.ours)},
                            {"second", utf8FromCp1252(s.theirs)}});
    Json cells = Json::array();
    for (const auto& c : diff.cells)
        cells.push_back({{"row", c.row},
                         {"column", c.col},
                         {"first", utf8FromCp1252(c.ours)},
                         {"second", utf8FromCp1252(c.theirs)},
                         {"line", c.line}});
    return {{"settings", std::move(settings)}, {"cells", std::move(cells)}};
}

int diff(const std::string& first, const std::string& second, bool json) {
    Json errors = Json::array();
    const auto ours = readOrReport(first, json ? &errors : nullptr);
    const auto theirs = readOrReport(second, json ? &errors : nullptr);
    if (!ours || !theirs) {
        if (json)
            writeJsonDocument(std::cout, "diff",
                              {{"first", first},
                               {"second", second},
                               {"exit", kCannotRead},
                               {"errors", std::move(errors)}});
        return kCannotRead;
    }
    const ConfigurationDiff differences = compareConfigurations(*ours, *theirs);
    const int code = differences.empty() ? 0 : kDiffer;
    if (json) {
        Json fields{{"first", first}, {"second", second}, {"exit", code}};
        fields.update(diffJson(differences));
        writeJsonDocument(std::cout, "diff", fields);
        return code;
    }
    for (const auto& line : differenceLines(differences))
        std::cout << line << '\n';
    return code;
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

// The values of export --format.
constexpr std::string_view kCsv = "csv";
constexpr std::string_view kHtml = "html";
constexpr std::string_view kPdf = "pdf";

int exportRecord(const std::string& file, const std::string& format, std::string output) {
    const auto state = readOrReport(file);
    if (!state)
        return kCannotRead;
    const ConfigurationRecord record = recordOf(*state, std::chrono::system_clock::now());
    if (format == kCsv)
        return writeOrPrint(recordCsv(record), output);
    if (format == kHtml)
        return writeOrPrint(recordHtml(record), output);
    if (output.empty())
        output = utf8Of(pathFromUtf8(file).replace_extension(".pdf"));
    return writePdf(recordHtml(record), output);
}

} // namespace

void addCompareCommands(CLI::App& app, int& exitCode) {
    struct Arguments {
        std::string first, second, file, format, output;
        bool json = false;
    };
    const auto args = std::make_shared<Arguments>();

    auto* diffCommand = app.add_subcommand(
        "diff", "Compare two configuration files: one line per difference; exit 0 when equal, "
                "1 when they differ, 2 when one cannot be read");
    diffCommand->add_option("A", args->first, "First configuration file")->required();
    diffCommand->add_option("B", args->second, "Second configuration file")->required();
    diffCommand->add_flag("--json", args->json, "One JSON document on stdout");
    diffCommand->callback(
        [args, &exitCode] { exitCode = diff(args->first, args->second, args->json); });

    auto* exportCommand = app.add_subcommand(
        "export", "Write the record File > Print makes: CSV (the table) or HTML or PDF (the page)");
    exportCommand->add_option("FILE", args->file, "Configuration file")->required();
    exportCommand->add_option("--format", args->format, "csv, html or pdf")
        ->required()
        ->check(CLI::IsMember(
            std::vector<std::string>{std::string(kCsv), std::string(kHtml), std::string(kPdf)}));
    exportCommand->add_option("--output", args->output,
                              "File to write; CSV and HTML go to standard output without it, "
                              "PDF beside FILE with the extension .pdf");
    exportCommand->callback(
        [args, &exitCode] { exitCode = exportRecord(args->file, args->format, args->output); });
}

} // namespace kym::cli
