#include "FtpTestServer.h"
#include "KymtoolFixture.h"
#include "config/Version.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kym {
namespace {

using nlohmann::json;
using test::ConfigLines;

// Rows of the exported table with the label and no value.
std::string emptyRows(int times, const std::string& label) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += label + ",,,,,\r\n";
    return text;
}

// A --json run: one document on one line of stdout, nothing on stderr.
json document(const test::ProcessResult& result, const std::string& command, int exitCode) {
    EXPECT_EQ(result.exitCode, exitCode);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(std::ranges::count(result.out, '\n'), 1) << result.out;
    json doc = json::parse(result.out, nullptr, false);
    EXPECT_EQ(doc.value("format", 0), 1) << result.out;
    EXPECT_EQ(doc.value("command", ""), command);
    EXPECT_EQ(doc.value("exit", -1), exitCode);
    return doc;
}

// Each row is run as text and, but for new, resave and export, with --json: the exit code, a text
// the output and the error output hold (for diff, send and CSV the whole output and the start of
// the error output), and the document's fields that the text does not show. Several files are
// reported each under its name, the run exiting with the worst by the command's own order. send
// plays a unit that answers wrongly; only the sends that reached it have a line in the record.
TEST_F(Kymtool, Commands) {
    test::BackgroundProcess unit({KYMTOOL, "simulate", "--reply", "wrong"});
    const std::string port = unit.readLine();
    const std::string target = (dir / "out.vlt").string();
    const std::vector<std::string> rows(8, ",,,,,;");
    const std::string extender =
        file(ConfigLines("QX4815", std::vector<std::string>(24, ",,,,,;")));
    const std::string receiver = file(ConfigLines("QR4805", rows));
    const std::string unknown = file(ConfigLines("QX-4815", rows));
    const std::string example = file(kWorkedExample);
    ConfigLines warnedLines(kWorkedExample); // row 2 ends at -10, a value no list offers
    warnedLines.rows[1] = ",2,COUNT,0,-10,;";
    const std::string warned = file(warnedLines.set("TIMEOUT", "90"));
    const std::string broken = file(warnedLines.set("CAPTURE", "")); // and it does not compile
    ConfigLines flags(kWorkedExample);                               // each header flag set in turn
    const std::string minutes = file(flags.set("CAPTURE_SCALE", "MINUTES"));
    const std::string flagged =
        file(flags.set("LOSS_STATE", "OFF").set("SNIFFER_STATE", "SNIFFER"));
    const std::string cp1252 = file(ConfigLines("QD4815\x80"));
    const std::string other =
        file(ConfigLines(kWorkedExample).set("TIMEOUT", "45").set("FILE_TYPE", "FACTORY"));
    ConfigLines oneCellLines(kWorkedExample);
    oneCellLines.rows[2] = "1B,3,COUNT,0,4095,;";
    const std::string oneCell = file(oneCellLines);
    ConfigLines extendedLines("QX4815", kWorkedExample.rows);
    extendedLines.rows[1] = ",2,HUMIDITY,0,4095,;";
    extendedLines.rows.resize(24, ",,,,,;");
    const std::string extended = file(extendedLines);
    std::string extendedOut = "DEVICE_TYPE: QD4815 -> QX4815\n"
                              "row 2 ANALOG/ANALOG MAIN  DATA FORMAT: COUNT -> HUMIDITY\n";
    for (int row = 9; row <= 24; ++row)
        extendedOut += "row " + std::to_string(row) +
                       (row % 8 >= 1 && row % 8 <= 4 ? " ANALOG" : " DIGITAL") +
                       (row <= 16 ? " EXT1" : " EXT2") + ": only in the second file\n";
    const std::string missing = (dir / "missing.vlt").string();
    const std::string tooManyRows = file("DEVICE_TYPE\nKYM3815\nCOLUMN_NAMES\n5\n\nROW_DATA\n12\n");
    const std::string huge = file("");
    std::filesystem::resize_file(huge, 200 << 20);
    const std::string sendable = newFile("KYM3815");
    const std::string headerOnly = file("DEVICE_TYPE\r\nKYM3815\r\n");
    const std::string csvFile =
        file(ConfigLines("KYM3815", {"1A,2,THERM 20k,-40,150,;", "\"Q\",,,,,;"}));
    const std::string csvReceiver =
        file(ConfigLines("QR4805", {"9,,,,,;", ",,,,,;", ",,,,,;", ",,,,,;", "2C,3,DIGITAL,,,;"}));
    const std::string printed =
        file(ConfigLines("QX4815", {"<A&B>,1,COUNT,0,4095,;"}).set("TIMEOUT", "45"));
    const std::string pdf = (dir / "record.pdf").string();
    const std::string csv = ",TRANSMITTER ID,TRANS CHAN,DATA FORMAT,RANGE START,RANGE END\r\n";
    const std::string opened = port + ": Open at 19200,N,8,1\n";
    const std::string absent = port + "-missing";
    const auto header = [](const std::string& name) { return "==> " + name + " <==\n"; };
    // The fields of the --json document that a row pins, a JSON object keyed by pointers.
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string out, err, fields;
    } cases[] = {
        // clang-format off
        {{"new", "kym3815", target}, 2, "", "unknown device type \"kym3815\"", ""},
        {{"resave", example, (dir / "again").string()}, 0, "", "", ""},
        {{"resave", tooManyRows, target}, 2, "", ":7: ROW_DATA count 12 is larger than the 8", ""},
        {{"resave", huge, target}, 1, "",
         huge + ": the file is 200 MiB; a register configuration is at most 1 MiB", ""},
        {{"frame", extender, "--unit", "3"}, 0, "1B 47 4A 00 29", "", ""},
        {{"frame", receiver}, 0, "\n1B 4E 01 01 56 E1\n", "",
         R"({"/files/0/outcome":"ok","/files/0/deviceType":"QR4805","/files/0/unit":1,)"
         R"("/files/0/frames/0/length":79,"/files/0/frames/0/checksum":64849,)"
         R"("/files/0/frames/1/bytes":[27,78,1,1,86,225],"/files/0/frames/1/checksum":57686})"},
        {{"frame", broken}, 2, "", broken + ":2: CAPTURE \"\" is not a number",
         R"({"/files/0/outcome":"compile-failed","/files/0/deviceType":"QD4815","/files/0/frames":[],)"
         R"("/files/0/errors/0/line":2,"/files/0/errors/0/reason":"CAPTURE \"\" is not a number"})"},
        {{"frame", unknown}, 3, "", "no frame for device type \"QX-4815\"",
         R"({"/files/0/outcome":"no-frame","/files/0/deviceType":"QX-4815","/files/0/errors/0/line":0,)"
         R"("/files/0/errors/0/reason":"no frame for device type \"QX-4815\" and unit 1"})"},
        {{"frame", missing}, 1, "", missing,
         R"({"/files/0/outcome":"cannot-open","/files/0/deviceType":null,)"
         R"("/files/0/errors/0/reason":"No such file or directory"})"},
        {{"frame", extender, "--unit", "0"}, 3, "", "type \"QX4815\" and unit 0\n", ""},
        {{"frame", receiver, unknown}, 3, header(receiver), "", R"({"/files/0/exit":0,"/files/1/exit":3})"},
        {{"frame", unknown, broken, example}, 2, header(unknown), "",
         R"({"/files/0/exit":3,"/files/1/exit":2,"/files/2/exit":0})"},
        {{"frame", example, missing, broken, unknown}, 1, "\n\n" + header(missing), "",
         R"({"/files/0/exit":0,"/files/1/exit":1,"/files/2/exit":2,"/files/3/exit":3,)"
         R"("/files/1/file":")" + missing + "\"}"},
        {{"image", example}, 0, "   1   28  device code: 40\n", "",
         R"({"/files/0/header/1":{"byte":1,"value":40,"meaning":"device code: 40"}})"},
        {{"image", example}, 0,
         "     0  ANALOG          00 01 01 01 00 00 0F FF  0001     1  1 COUNT              0  4095\n", "", ""},
        {{"image", example}, 0, "   2   00  flags: capture in seconds, outputs keep their", "", ""},
        {{"image", minutes}, 0, "   2   10  flags: capture in minutes, outputs keep their", "", ""},
        {{"image", flagged}, 0, "   2   11  flags: capture in minutes, outputs off on", "", ""},
        {{"image", example}, 0, "   8   01  network ID 1, coordinate network ID\n", "", ""},
        {{"image", flagged}, 0, "   8   41  network ID 1, monitor network ID\n", "", ""},
        {{"image", warned}, 0, "", "",
         R"({"/files/0/fileReady":true,"/files/0/fileStatus":"File is ready to be sent.",)"
         R"("/files/0/records/1":{"record":1,"rowLabel":"ANALOG","bytes":[0,1,2,1,0,0,255,246],)"
         R"("transmitterId":"0001","channel":2,"formatCode":1,"formatName":"COUNT","rangeStart":0,)"
         R"j("rangeEnd":-10},"/files/0/records/24/rowLabel":"(storage only)",)j"
         R"("/files/0/twoControl/12":{"byte":12,"value":40,"meaning":"fixed"}})"},
        {{"image", broken}, 2, "Device type: QD4815", broken + ":2: CAPTURE \"\"",
         R"({"/files/0/fileStatus":"Error reading file ","/files/0/errors/0/line":2})"},
        {{"image", example, missing, broken}, 1, header(example), "",
         R"({"/files/0/exit":0,"/files/1/exit":1,"/files/2/exit":2,"/files/1/header":null})"},
        {{"check", huge}, 2, huge + ":0: error: cannot open the file: the file is 200 MiB", "", ""},
        {{"check", example}, 0, "", "", R"({"/files/0/outcome":"clean","/files/0/findings":[]})"},
        {{"check", warned}, 1, ":18: warning: TIMEOUT \"90\" is not in the time-out list\n", "",
         R"({"/files/0/outcome":"warnings","/files/0/findings/0":{"line":18,"severity":"warning",)"
         R"("message":"TIMEOUT \"90\" is not in the time-out list"}})"},
        {{"check", broken}, 2, broken + ":2: error: ", "",
         R"({"/files/0/outcome":"errors","/files/0/findings/0/severity":"error","/files/0/findings/0/line":2})"},
        // A file value is Windows-1252: quoted in a message it is converted, so "€" stays "€".
        {{"check", cp1252}, 2, "\"QD4815\u20ac\"", "",
         R"({"/files/0/findings/0/message":"unknown device type \"QD4815\u20ac\": Send File has no frame to send"})"},
        {{"check", example, warned}, 1, warned + ":18: warning: TIMEOUT", "", R"({"/files/0/exit":0,"/files/1/exit":1})"},
        {{"check", broken, warned, missing}, 2, "", "", R"({"/files/0/exit":2,"/files/1/exit":1,"/files/2/exit":2})"},
        {{"diff", example, other}, 1, "FILE_TYPE: \"\" -> FACTORY\nTIMEOUT: 30 -> 45\n", "",
         R"({"/settings/1":{"key":"TIMEOUT","first":"30","second":"45"},"/cells":[]})"},
        {{"diff", example, example}, 0, "", "", R"({"/settings":[]})"},
        {{"diff", example, oneCell}, 1, "row 3 ANALOG  TRANSMITTER ID: \"\" -> 1B\n", "", ""},
        {{"diff", example, extended}, 1, extendedOut, "", ""},
        {{"diff", example, missing}, 2, "", missing + ": No such file or directory\n",
         R"({"/errors/0/reason":"No such file or directory","/errors/0/file":")" + missing + "\"}"},
        {{"diff", example, tooManyRows}, 2, "", tooManyRows + ":7: ROW_DATA count 12 is larger than the 8", ""},
        {{"send", sendable, "--port", port}, 1, opened + "File is ready to be sent.\nCheck Cable Connections\n", "",
         R"({"/outcome":"not-acknowledged"})"},
        {{"send", headerOnly, "--port", port}, 2,
         opened + "Error reading file \nError reading file. File cannot be sent.\n", headerOnly + ":0: ",
         R"({"/outcome":"file-not-ready"})"},
        {{"send", sendable, "--port", "COM 9"}, 3, "Cannot open:  COM 0\n", "kymtool send: COM 0: ",
         R"({"/outcome":"port-not-opened"})"},
        {{"send", sendable, "--port", absent}, 3, "Cannot open:  " + absent + "\n",
         "kymtool send: " + absent + ": ", R"({"/outcome":"port-not-opened"})"},
        // The CSV is the table as the grid shows it: hidden rows left out, every row with its label.
        {{"export", csvFile, "--format", "csv"}, 0,
         csv + "ANALOG,1A,2,THERM 20k,-40,150\r\nANALOG,\"\"\"Q\"\"\",,,,\r\n" + emptyRows(2, "ANALOG") +
             emptyRows(4, "DIGITAL"), "", ""},
        {{"export", printed, "--format", "csv"}, 0, csv + "ANALOG MAIN,<A&B>,1,COUNT,0,4095\r\n" +
             emptyRows(3, "ANALOG MAIN") + emptyRows(4, "DIGITAL MAIN") + emptyRows(4, "ANALOG EXT1") +
             emptyRows(4, "DIGITAL EXT1") + emptyRows(4, "ANALOG EXT2") + emptyRows(4, "DIGITAL EXT2"), "", ""},
        {{"export", csvReceiver, "--format", "csv"}, 0, csv + "DIGITAL,2C,3,DIGITAL,,\r\nDIGITAL,,,,,\r\n", "", ""},
        {{"export", printed, "--format", "html"}, 0, "<td>&lt;A&amp;B&gt;</td>", "", ""},
        {{"export", printed, "--format", "pdf", "--output", pdf}, 0, "", "", ""},
        {{"export", printed, "--format", "pdf", "--output", (dir / "no/x.pdf").string()}, 1, "", "", ""},
        // The Options words: capture unit and network kind, each way.
        {{"export", example, "--format", "html"}, 0, "0 Seconds", "", ""},
        {{"export", example, "--format", "html"}, 0, "Coordinate Network ID", "", ""},
        {{"export", flagged, "--format", "html"}, 0, "0 Minutes", "", ""},
        {{"export", flagged, "--format", "html"}, 0, "Monitor Network ID", "", ""},
        // clang-format on
    };
    for (auto [args, exitCode, out, err, fields] : cases) {
        const auto result = run(args);
        SCOPED_TRACE(args[0] + " " + args[1] + " " + out);
        EXPECT_EQ(result.exitCode, exitCode);
        if (args[0] == "diff" || args[0] == "send" || args.back() == "csv") {
            EXPECT_EQ(result.out, out);
            EXPECT_TRUE(result.err.starts_with(err)) << result.err;
        } else {
            EXPECT_NE(result.out.find(out), std::string::npos) << result.out;
            EXPECT_NE(result.err.find(err), std::string::npos) << result.err;
        }
        if (args[0] == "new" || args[0] == "resave" || args[0] == "export")
            continue;
        args.push_back("--json");
        const json doc = document(run(args), args[0], exitCode);
        const json pinned = json::parse(fields.empty() ? "{}" : fields);
        for (const auto& [pointer, value] : pinned.items())
            EXPECT_EQ(doc.value(json::json_pointer(pointer), json()), value) << pointer;
    }
    EXPECT_EQ(run({"frame", receiver}).out.find("==>"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(run({"export", printed, "--format", "html"}).out.find("<A&B>"), std::string::npos);
    // Without pdftotext (scripts/install-deps installs it) the text is empty and the test fails.
    const std::string text = test::runProcess({"/usr/bin/pdftotext", "-layout", pdf, "-"}).out;
    for (const char* expected : {"QX4815", "Transmitter Timeout (min)", "45", "TRANSMITTER ID",
                                 "RANGE END", "ANALOG MAIN", "DIGITAL EXT2", "<A&B>", "4095"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    EXPECT_EQ(std::ranges::count(text, '\f'), 1) << "one page";
    const auto lines = record();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].outcome, "Check Cable Connections");
    const std::string log = unit.stop();
    EXPECT_EQ(std::ranges::count(log, '\n'), 2) << log;
    EXPECT_NE(log.find("(79 bytes), checksum right, replied 1B 47 4A 15"), std::string::npos)
        << log;
}

// Both programs answer --version and --help without a display.
TEST_F(Kymtool, BothProgramsAnswerVersionAndHelp) {
    const std::string version(kVersion);
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{KYMTOOL, "--version"}, "kymtool " + version + "\n"},
        {{KYMEDITOR, "--version"}, "kymeditor " + version + "\n"},
        {{KYMEDITOR, "--help"}, "Usage: kymeditor [FILE]"},
        {{KYMTOOL, "--help"}, "kymtool: "},
    };
    for (const auto& [argv, out] : rows) {
        const auto result = test::runProcess(argv);
        EXPECT_EQ(result.exitCode, 0) << argv[1];
        EXPECT_EQ(result.out.substr(0, out.size()), out) << argv[1];
    }
}

// The unit outlives the tool closing the port and answers by its path and by the link. Each unit
// of a batch gets its line in the record; Enter sends again, q or --count stops.
TEST_F(Kymtool, SendIsAcknowledgedAndRecorded) {
    const std::string link = (dir / "unit").string();
    test::BackgroundProcess unit({KYMTOOL, "simulate", "--link", link});
    const std::string port = unit.readLine();
    ASSERT_TRUE(port.starts_with("/dev/")) << port;
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    const std::string file = (dir / "plant 7, \"north\".vlt").string();
    ASSERT_EQ(run({"new", "QX4815", file}).exitCode, 0);
    const struct {
        const char* name;
        std::vector<std::string> options;
        std::string input;
        int units;
    } rows[] = {
        {"Enter twice, then q", {"--repeat"}, "\n\nq\n", 3},
        {"count", {"--count", "2", "--unit", "2"}, "\n\n\n", 2},
        {"q at once", {"--repeat"}, "q\n", 1},
        {"end of input", {"--repeat"}, "", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> args{"send", file, "--port", port};
        args.insert(args.end(), row.options.begin(), row.options.end());
        const auto result = run(args, row.input);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        const std::string summary = "Acknowledged: " + std::to_string(row.units) + ", failed: 0\n";
        EXPECT_TRUE(result.out.ends_with("Acknowledge Received\n" + summary)) << result.out;
    }
    const auto lines = record();
    ASSERT_EQ(lines.size(), 7u);
    const std::string sha256 = "f3c493778e0c761d327a42d525ff591a10d6aec2ff23c56db045720e57fb3f6d";
    EXPECT_EQ(lines[0].sha256, sha256);
    EXPECT_EQ(lines[3].unit + " " + std::to_string(lines[3].frameLength), "extended 1 79");
    // record prints the header and, with --last, the newest lines, CSV-quoted as the file has them.
    const std::string header = "time,device type,unit,port,file,sha256,frame length,frame "
                               "checksum,outcome\n";
    const std::string quoted = "\"" + (dir / "plant 7, \"\"north\"\".vlt").string() + "\"";
    std::string newest;
    for (const RecordEntry& entry : {lines[5], lines[6]})
        newest += entry.time + ",QX4815,main," + port + "," + quoted + "," + sha256 +
                  ",111,8AB0,Acknowledge Received\n";
    EXPECT_EQ(run({"record", "--last", "2"}).out, header + newest);
    const std::string all = run({"record"}).out;
    EXPECT_EQ(std::ranges::count(all, '\n'), 8) << all;
    EXPECT_TRUE(all.starts_with(header) && all.ends_with(newest)) << all;
    EXPECT_EQ(run({"record", "--last", "99"}).out, all);
    const json doc = document(run({"record", "--last", "1", "--json"}), "record", 0);
    ASSERT_EQ(doc["entries"].size(), 1u);
    EXPECT_EQ(doc["entries"][0]["time"], lines[6].time);
    EXPECT_EQ(doc["entries"][0]["frameChecksum"], "8AB0");

    const std::string single = newFile("KYM3815");
    for (const std::string& name : {port, link}) {
        SCOPED_TRACE(name);
        const auto result = run({"send", single, "--port", name});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, name + ": Open at 19200,N,8,1\nFile is ready to be sent.\n"
                                     "Acknowledge Received\n");
    }
    // The two-output receiver acknowledges its frame and then the follow-up.
    const std::string receiver = newFile("QR4805");
    const auto sent = run({"send", receiver, "--port", port});
    EXPECT_EQ(sent.exitCode, 0) << sent.err;
    EXPECT_TRUE(sent.out.ends_with("\nAcknowledge Received\nAcknowledge Received\n")) << sent.out;
    const json sentDoc = document(run({"send", receiver, "--port", port, "--json"}), "send", 0);
    EXPECT_EQ(sentDoc["portLocation"].get<std::string>() + " " + sentDoc["file"].get<std::string>(),
              port + " " + receiver);
    EXPECT_EQ(sentDoc["outcome"], "acknowledged");
    EXPECT_EQ(sentDoc["statuses"].size(), 4u);
    EXPECT_EQ(sentDoc["frames"][1]["hex"], "1B 4E 01 01 56 E1");

    // A record that cannot be written (here the kym folder is a file) leaves the send as it was.
    std::filesystem::remove_all(dir / "kym");
    test::writeFile(dir / "kym", "not a folder");
    const auto unrecorded = run({"send", file, "--port", port});
    EXPECT_EQ(unrecorded.exitCode, 0);
    EXPECT_TRUE(unrecorded.out.ends_with("Acknowledge Received\n")) << unrecorded.out;
    EXPECT_TRUE(unrecorded.err.starts_with("kymtool send: The programming record " +
                                           (dir / "kym" / "programming-record.csv").string() +
                                           " was not written: Not a directory"))
        << unrecorded.err;

    const std::string log = unit.stop();
    // The frame's own checksum stands for its bytes.
    const std::string line = " F4 5E (79 bytes), checksum right, replied 1B 47 4A 06 39 AB\n";
    EXPECT_NE(log.find(line, log.find(line) + 1), std::string::npos) << log;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

// The stored file is read back; the password comes from a file or the environment, never from a
// file that others can read. Bytes cross unchanged both ways; a download lands in the kym folder.
TEST_F(Kymtool, Ftp) {
    test::FtpTestServer server(dir / "server");
    test::FtpTestServer altering(dir / "altering", test::FtpTestServer::Mode::Altering);
    test::FtpTestServer ipv6(dir / "ipv6", test::FtpTestServer::Mode::AnsweringIpv6);
    ASSERT_FALSE(server.address().empty() || altering.address().empty() || ipv6.address().empty());
    const std::string upload = (dir / "upload.cfg").string();
    test::writeFile(upload, "12345");
    using enum std::filesystem::perms;
    const auto passwordFile = [&](const std::string& name, const std::string& text,
                                  std::filesystem::perms mode) {
        test::writeFile(dir / name, text);
        std::filesystem::permissions(dir / name, mode);
        return (dir / name).string();
    };
    const std::string sharedFile = passwordFile("shared", "lumo\n", owner_read | others_read);
    const std::string groupFile = passwordFile("group", "lumo\n", owner_read | group_read);
    const std::string readable = ": other users can read it";
    const struct {
        const char* name;
        std::string host;
        std::vector<std::string> options;
        const char* environment;
        int exitCode;
        std::string err;
    } rows[] = {
        // clang-format off
        {"verified", server.address(), {}, nullptr, 0, ""},
        {"altered", altering.address(), {}, nullptr, 1,
         "Verify failed: config.cfg on the gateway differs from the file sent (5 bytes sent, 6 bytes "
         "read back, first difference at byte 5)\n"},
        {"altered, not verified", altering.address(), {"--no-verify"}, nullptr, 0, ""},
        {"password file", server.address(),
         {"--password-file", passwordFile("private", "lumo\n", owner_read)}, "wrong", 0, ""},
        {"shared password file", server.address(), {"--password-file", sharedFile}, nullptr, 2,
         "kymtool ftp: " + sharedFile + readable},
        {"group-readable password file", server.address(), {"--password-file", groupFile}, nullptr,
         2, "kymtool ftp: " + groupFile + readable},
        {"password file in CR LF", server.address(),
         {"--password-file", passwordFile("crlf", "lumo\r\nsecond line\r\n", owner_read)}, "wrong", 0, ""},
        {"IPv6 address", ipv6.address(), {}, nullptr, 0, ""},
        {"environment", server.address(), {}, "wrong", 1, "InternetConnect Extd Err: 530"},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.environment)
            ::setenv("KYM_FTP_PASSWORD", row.environment, 1);
        else
            ::unsetenv("KYM_FTP_PASSWORD");
        std::vector<std::string> args{"ftp", "put", upload, "--host", row.host};
        args.insert(args.end(), row.options.begin(), row.options.end());
        const auto result = run(args);
        EXPECT_EQ(result.exitCode, row.exitCode) << result.err;
        EXPECT_TRUE(result.err.starts_with(row.err)) << result.err;
    }
    ::unsetenv("KYM_FTP_PASSWORD");

    std::string bytes;
    for (int i = 0; i < 70000; ++i)
        bytes += static_cast<char>(i * 7 % 256);
    bytes += std::string("\r\n\n\r\0", 5);
    test::writeFile(upload, bytes);
    const auto put = run({"ftp", "put", upload, "--host", server.address()});
    EXPECT_EQ(put.exitCode, 0) << put.err;
    EXPECT_EQ(put.out, "File has been sent\n");
    EXPECT_EQ(test::readFile(dir / "server" / "config.cfg"), bytes);
    const auto download = dir / "kym" / "_config.cfg";
    std::filesystem::create_directories(dir / "kym");
    test::writeFile(download, "an earlier download");
    const auto get =
        run({"ftp", "get", "--user", "root", "--password", "lumo", "--host", server.address()});
    EXPECT_EQ(get.exitCode, 0) << get.err;
    EXPECT_EQ(get.out, "File has been placed in " + download.string() + "\n");
    EXPECT_EQ(test::readFile(download), bytes);
}

} // namespace
} // namespace kym
