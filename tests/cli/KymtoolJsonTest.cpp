#include "KymtoolFixture.h"
#include "support/ConfigLines.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kym {
namespace {

using nlohmann::json;
using test::ConfigLines;

// kymtool's --json runs: one document on one line of stdout, nothing on stderr.
class KymtoolJson : public Kymtool {
protected:
    json document(std::vector<std::string> args, int exitCode) {
        args.push_back("--json");
        const auto result = run(args);
        EXPECT_EQ(result.exitCode, exitCode) << args[0];
        EXPECT_EQ(result.err, "") << args[0];
        EXPECT_EQ(std::ranges::count(result.out, '\n'), 1) << result.out;
        json doc = json::parse(result.out, nullptr, false);
        EXPECT_FALSE(doc.is_discarded()) << result.out;
        if (!doc.is_discarded()) {
            EXPECT_EQ(doc["format"], 1);
            EXPECT_EQ(doc["command"], args[0]);
        }
        return doc;
    }

    const std::string example = file(kWorkedExample);
    // Its second row ends at -10, a value no list offers.
    const std::string warned = file([] {
        ConfigLines config(kWorkedExample);
        config.rows[1] = ",2,COUNT,0,-10,;";
        return config.set("TIMEOUT", "90");
    }());
    const std::string broken = file(ConfigLines(kWorkedExample).set("CAPTURE", ""));
    const std::string receiver = file(ConfigLines("QR4805", std::vector<std::string>(8, ",,,,,;")));
    const std::string unknown = file(ConfigLines("QX-4815"));
    const std::string missing = (dir / "missing.vlt").string();
};

// Several files in one run: each is reported under its name with its own exit status, and the run
// exits with the worst of them, by each command's order, in text and in JSON alike.
TEST_F(KymtoolJson, SeveralFilesExitWithTheWorst) {
    const struct {
        std::vector<std::string> args;
        std::vector<int> exits; // of each file, in order
        int worst;
    } rows[] = {
        {{"frame", receiver, unknown}, {0, 3}, 3},
        {{"frame", unknown, broken, example}, {3, 2, 0}, 2},
        {{"frame", missing, broken, unknown}, {1, 2, 3}, 1},
        {{"image", broken, example}, {2, 0}, 2},
        {{"image", example, missing, broken}, {0, 1, 2}, 1},
        {{"check", example, warned}, {0, 1}, 1},
        {{"check", broken, warned, missing}, {2, 1, 2}, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args[0] + " " + std::to_string(row.args.size() - 1) + " files");
        const json doc = document(row.args, row.worst);
        EXPECT_EQ(doc["exit"], row.worst);
        ASSERT_EQ(doc["files"].size(), row.exits.size());
        for (std::size_t f = 0; f < row.exits.size(); ++f) {
            EXPECT_EQ(doc["files"][f]["file"], row.args[f + 1]);
            EXPECT_EQ(doc["files"][f]["exit"], row.exits[f]);
        }
        const auto text = run(row.args);
        EXPECT_EQ(text.exitCode, row.worst);
        if (row.args[0] != "check") {
            EXPECT_TRUE(text.out.starts_with("==> " + row.args[1] + " <==\n")) << text.out;
        }
    }
    // One file keeps its text as it always was; a failing one has its reason on stderr.
    EXPECT_EQ(run({"frame", receiver}).out.find("==>"), std::string::npos);
    EXPECT_NE(run({"frame", example, missing}).out.find("\n\n==> " + missing + " <==\n"),
              std::string::npos);
    EXPECT_NE(run({"check", example, warned}).out.find(warned + ":18: warning: TIMEOUT"),
              std::string::npos);
}

TEST_F(KymtoolJson, FrameDocument) {
    const json doc = document({"frame", receiver, broken, unknown, missing}, 1);
    const json& ok = doc["files"][0];
    EXPECT_EQ(ok["outcome"], "ok");
    EXPECT_EQ(ok["deviceType"], "QR4805");
    EXPECT_EQ(ok["unit"], 1);
    // The frames are the text output's lines, the follow-up second.
    const std::string text = run({"frame", receiver}).out;
    ASSERT_EQ(ok["frames"].size(), 2u);
    EXPECT_EQ(text, ok["frames"][0]["hex"].get<std::string>() + "\n" +
                        ok["frames"][1]["hex"].get<std::string>() + "\n");
    const auto bytes = ok["frames"][0]["bytes"].get<std::vector<int>>();
    ASSERT_EQ(bytes.size(), 79u);
    EXPECT_EQ(ok["frames"][0]["length"], 79);
    EXPECT_EQ(ok["frames"][0]["checksum"], 0xFD51);
    EXPECT_EQ(ok["frames"][1]["bytes"], json::parse("[27, 78, 1, 1, 86, 225]"));
    EXPECT_EQ(ok["frames"][1]["checksum"], 0xE156);

    const struct {
        std::size_t index;
        std::string outcome;
        json deviceType;
        int line;
        std::string reason;
    } failures[] = {
        {1, "compile-failed", "QD4815", 2, "CAPTURE \"\" is not a number"},
        {2, "no-frame", "QX-4815", 0, "no frame for device type \"QX-4815\" and unit 1"},
        {3, "cannot-open", nullptr, 0, ""},
    };
    for (const auto& row : failures) {
        const json& entry = doc["files"][row.index];
        SCOPED_TRACE(row.outcome);
        EXPECT_EQ(entry["outcome"], row.outcome);
        EXPECT_EQ(entry["deviceType"], row.deviceType);
        EXPECT_EQ(entry["frames"], json::array());
        ASSERT_EQ(entry["errors"].size(), 1u);
        EXPECT_EQ(entry["errors"][0]["line"], row.line);
        EXPECT_TRUE(entry["errors"][0]["reason"].get<std::string>().starts_with(row.reason));
    }
}

TEST_F(KymtoolJson, ImageDocument) {
    const json doc = document({"image", warned, broken, missing}, 1);
    const json& image = doc["files"][0];
    EXPECT_EQ(image["outcome"], "ok");
    EXPECT_EQ(image["deviceType"], "QD4815");
    EXPECT_EQ(image["fileReady"], true);
    EXPECT_EQ(image["fileStatus"], "File is ready to be sent.");
    ASSERT_EQ(image["header"].size(), 10u);
    EXPECT_EQ(image["header"][1],
              json::parse(R"({"byte":1,"value":40,"meaning":"device code: 40"})"));
    ASSERT_EQ(image["records"].size(), 25u);
    EXPECT_EQ(image["records"][1], json::parse(R"({"record":1,"rowLabel":"ANALOG",
        "bytes":[0,1,2,1,0,0,255,246],"transmitterId":"0001","channel":2,"formatCode":1,
        "formatName":"COUNT","rangeStart":0,"rangeEnd":-10})"));
    EXPECT_EQ(image["records"][24]["rowLabel"], "(storage only)");
    ASSERT_EQ(image["twoControl"].size(), 17u);
    EXPECT_EQ(image["twoControl"][12], json::parse(R"({"byte":12,"value":40,"meaning":"fixed"})"));

    EXPECT_EQ(doc["files"][1]["fileStatus"], "Error reading file ");
    EXPECT_EQ(doc["files"][1]["errors"][0]["line"], 2);
    EXPECT_EQ(doc["files"][2]["outcome"], "cannot-open");
    EXPECT_FALSE(doc["files"][2].contains("header"));
}

// A file value is Windows-1252: quoted in a message it is converted, so "é" stays "é".
TEST_F(KymtoolJson, CheckDocument) {
    const std::string latin1 = file(ConfigLines("QD4815\xE9"));
    const json doc = document({"check", example, warned, broken, latin1}, 2);
    EXPECT_EQ(doc["files"][0]["outcome"], "clean");
    EXPECT_EQ(doc["files"][0]["findings"], json::array());
    EXPECT_EQ(doc["files"][1]["outcome"], "warnings");
    EXPECT_EQ(doc["files"][1]["findings"][0], json::parse(R"({"line":18,"severity":"warning",
                              "message":"TIMEOUT \"90\" is not in the time-out list"})"));
    EXPECT_EQ(doc["files"][2]["outcome"], "errors");
    EXPECT_EQ(doc["files"][2]["findings"][0]["severity"], "error");
    EXPECT_EQ(doc["files"][2]["findings"][0]["line"], 2);
    EXPECT_NE(doc["files"][3].dump().find("QD4815\u00e9"), std::string::npos) << doc.dump();
}

TEST_F(KymtoolJson, DiffDocument) {
    const std::string other = file(ConfigLines(kWorkedExample).set("TIMEOUT", "45"));
    const json differ = document({"diff", example, other}, 1);
    EXPECT_EQ(differ["exit"], 1);
    EXPECT_EQ(differ["settings"], json::parse(R"([{"key":"TIMEOUT","first":"30","second":"45"}])"));
    EXPECT_EQ(differ["cells"], json::array());
    EXPECT_EQ(document({"diff", example, example}, 0)["settings"], json::array());
    const json unread = document({"diff", example, missing}, 2);
    EXPECT_EQ(unread["errors"][0]["file"], missing);
    EXPECT_EQ(unread["errors"][0]["reason"], "No such file or directory");
}

TEST_F(KymtoolJson, SendDocument) {
    test::BackgroundProcess unit({KYMTOOL, "simulate"});
    const std::string port = unit.readLine();
    const json acknowledged = document({"send", receiver, "--port", port}, 0);
    for (const char* field : {"port", "portName", "portLocation"})
        EXPECT_EQ(acknowledged[field], port) << field;
    EXPECT_EQ(acknowledged["file"], receiver);
    EXPECT_EQ(acknowledged["unit"], 1);
    EXPECT_EQ(acknowledged["outcome"], "acknowledged");
    EXPECT_EQ(acknowledged["exit"], 0);
    EXPECT_EQ(acknowledged["statuses"],
              json({port + ": Open at 19200,N,8,1", "File is ready to be sent.",
                    "Acknowledge Received", "Acknowledge Received"}));
    EXPECT_EQ(acknowledged["frames"], document({"frame", receiver}, 0)["files"][0]["frames"]);
}

} // namespace
} // namespace kym
