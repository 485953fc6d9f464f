#include "cli/command.h"
#include "cli/profile.h"
#include "cli/report.h"
#include "hex_bytes.h"

#include <doctest/doctest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#if __has_include(<sys/resource.h>)
#include <csignal>
#include <sys/resource.h>
#endif

using namespace sg::cli;
namespace fs = std::filesystem;

namespace {

using Words = std::vector<std::string>;

// Profiles on disk, in a folder of the test's own.
class ProfileDir
{
public:
    ProfileDir() : m_dir(fs::temp_directory_path() / "sgsetup-test-command")
    {
        fs::create_directories(m_dir);
    }
    ~ProfileDir() { fs::remove_all(m_dir); }

    std::string path(const std::string &name) const
    {
        const std::u8string utf8 = (m_dir / name).u8string();
        return {utf8.begin(), utf8.end()};
    }
    std::string write(const std::string &name, const std::string &text) const
    {
        std::ofstream(m_dir / name, std::ios::binary) << text;
        return path(name);
    }

private:
    fs::path m_dir;
};

Words Plus(Words words, const Words &more)
{
    words.insert(words.end(), more.begin(), more.end());
    return words;
}

} // namespace

// Strict input: every mistake is a usage error that names what is wrong, found before
// any port is opened.
TEST_CASE("a mistake on the command line is refused and named")
{
    const ProfileDir dir;
    const std::string badJson = dir.write("bad-json", "{\"data\": \"0102\",\n \"params\": }\n");
    const std::string oddData = dir.write(
        "odd-data", "{\n  \"data\": \"123\",\n  \"params\": \"00 01 00 40 19 0A 00\"\n}\n");
    const std::string length = dir.write(
        "length", "{\n  \"data\": \"0102\",\n  \"params\": \"00 01 00 40 19 0A 00 03\"\n}\n");
    const std::string extra = dir.write(
        "extra", "{\n  \"data\": \"\",\n  \"params\": \"00000000000000\",\n  \"x\": 1\n}\n");
    const std::string number =
        dir.write("number", "{\"data\": 1234, \"params\": \"00 01 00 40 19 0A 00\"}");
    const std::string noParams = dir.write("no-params", "{\n  \"data\": \"0102\"\n}\n");
    const Words params{"--params", "00 01 00 40 19 0A 00"};
    const struct
    {
        const char *name;
        Words arguments;
        std::string named;
    } rows[] = {
        {"no command", {}, "expected a command"},
        {"unknown command", {"write"}, "unknown command 'write'"},
        {"COM not a number", {"read", "x"}, "COM: expected"},
        {"COM zero", {"read", "0"}, "COM: expected"},
        {"COM of three digits", {"read", "100"}, "COM: expected"},
        {"COM twice", {"read", "3", "3"}, "is given twice"},
        {"save with two COMs", {"read", "3", "9", "--save", "p.json"}, "--save"},
        {"odd data", Plus({"store", "3", "--data", "123"}, params),
         "--data: expected 0 to 16 hex digits"},
        {"data not hex", Plus({"store", "3", "--data", "0g"}, params), "--data"},
        {"data too long", Plus({"store", "3", "--data", std::string(18, '0')}, params), "--data"},
        {"six params",
         {"store", "3", "--data", "", "--params", "00 01 00 40 19 0A"},
         "--params: expected 7 or 8"},
        {"one-digit param",
         {"store", "3", "--data", "", "--params", "0 01 00 40 19 0A 00"},
         "--params"},
        {"length differs",
         {"store", "3", "--data", "0102", "--params", "0001004019 0A 00 03"},
         "byte 7 (length) is 03 but the data has 2 bytes"},
        {"params missing", {"store", "3", "--data", "01"}, "expected --data HEX and --params HEX"},
        {"profile and data", Plus({"store", "3", "--from", oddData, "--data", "01"}, params),
         "not both"},
        {"profile and data alone", {"store", "3", "--from", oddData, "--data", "01"}, "not both"},
        {"profile missing", {"store", "3", "--from", dir.path("nothing")}, dir.path("nothing")},
        {"profile not JSON", {"store", "3", "--from", badJson}, badJson + ":2:"},
        {"profile odd data", {"store", "3", "--from", oddData}, oddData + ":2: data:"},
        {"profile length differs", {"store", "3", "--from", length}, length + ":3: params: byte 7"},
        {"profile unknown key", {"store", "3", "--from", extra}, extra + ":4: unknown key"},
        {"profile data not a string",
         {"store", "3", "--from", number},
         "\"data\" must be a string"},
        {"profile without params",
         {"store", "3", "--from", noParams},
         noParams + ":1: \"params\" must be a string"},
        {"decode seven bytes", {"decode", "00010040190A00"}, "PARAMS"},
        {"decode with --json", {"decode", "00010040190A0004", "--json"}, "json"},
        {"ports with an argument", {"ports", "x"}, "ports: takes no arguments, got 'x'"},
        {"divisor zero", {"divisor", "0"}, "BAUD"},
        {"divisor text", {"divisor", "fast"}, "BAUD"},
        {"divisor with text after it", {"divisor", "9600x"}, "BAUD"},
        {"--settle without --fast",
         {"store", "2", "--from", "p", "--settle", "50"},
         "--settle: goes with --fast"},
        {"--settle past a period",
         {"store", "2", "--from", "p", "--fast", "--settle", "1501"},
         "--settle: expected milliseconds from 0 to 1500, got '1501'"},
        {"--settle not a number",
         {"store", "2", "--from", "p", "--fast", "--settle", "5x"},
         "got '5x'"},
        {"--fast on a list", {"ports", "--fast"}, "--fast: goes with --probe"},
        {"divisor infinite", {"divisor", "inf"}, "BAUD"},
        {"divisor twice", {"divisor", "9600", "19200"}, "BAUD"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        std::string error;
        CHECK_FALSE(ParseCommand(row.arguments, error));
        CHECK_MESSAGE(error.find(row.named) != std::string::npos, error);
    }
}

TEST_CASE("a store takes the blocks as given, with the length appended")
{
    const ProfileDir dir;
    const std::string profile =
        dir.write("good", "{\"data\": \"0123456789abcdef\", \"params\": \"00 01 00 40 19 0A 00\"}");
    for (const Words &arguments :
         {Words{"store", "3", "/dev/ttyUSB0", "--data", "0123456789abcdef", "--params",
                "00 01 00 40 19 0A 00", "--verify"},
          Words{"store", "3", "/dev/ttyUSB0", "--from", profile, "--fast", "--settle", "1500"}}) {
        CAPTURE(arguments[4]);
        std::string error;
        const std::optional<Command> command = ParseCommand(arguments, error);
        REQUIRE_MESSAGE(command, error);
        CHECK(command->verb == Verb::Store);
        CHECK(command->verify); // a fast store always reads back
        CHECK(command->settleMs == (command->fast ? 1500 : DEFAULT_SETTLE_MS));
        CHECK(ToHex(command->blocks.data) == "0123456789ABCDEF");
        CHECK(ToHex(command->blocks.params) == "00010040190A0008");
        REQUIRE(command->ports.size() == 2);
        CHECK(command->ports[0].com == 3);
        CHECK(command->ports[1].given == "/dev/ttyUSB0");
        CHECK_FALSE(command->ports[1].com);
    }
}

TEST_CASE("a saved profile loads back as the same blocks")
{
    const ProfileDir dir;
    std::string error;
    REQUIRE(SaveProfile(dir.path("saved"), "0102", "00 01 00 40 19 0A 00 02", error));
    const std::optional<sg::model::Blocks> blocks = LoadProfile(dir.path("saved"), error);
    REQUIRE_MESSAGE(blocks, error);
    CHECK(ToHex(blocks->data) == "0102");
    CHECK(ToHex(blocks->params) == "00010040190A0002");
}

#if __has_include(<sys/resource.h>)
TEST_CASE("a profile whose bytes cannot all be written leaves no temporary file")
{
    const ProfileDir dir;
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit tiny{1, limit.rlim_max};
    const auto signal = std::signal(SIGXFSZ, SIG_IGN); // a write past the limit only fails
    setrlimit(RLIMIT_FSIZE, &tiny);
    std::string error;
    const bool saved = SaveProfile(dir.path("full"), "0102", "00 01 00 40 19 0A 00 02", error);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, signal);
    CHECK_FALSE(saved);
    CHECK(fs::is_empty(fs::path(dir.path("."))));
}
#endif

TEST_CASE("the divisor line, both bytes, within reach and beyond")
{
    CHECK(DivisorLine(300) == "08 22 (divisor 2082): 300 baud, +0.02%\n");
    CHECK(DivisorLine(5) == "5.00 baud cannot be reached within 2%; the nearest is FF FF "
                            "(divisor 65535): 9.54 baud, +90.73%\n");
}

TEST_CASE("a JSON result names COM1 by its number, an address by none")
{
    DeviceResult result;
    result.port = {.device = "/dev/ttyS0", .number = 1, .name = "COM1"};
    result.data = "0102";
    result.elapsedMs = 41;
    CHECK(ResultJson(result) ==
          "{\"com\":1,\"data\":\"0102\",\"device\":\"/dev/ttyS0\",\"elapsedMs\":41,\"error\":null,"
          "\"ok\":true,\"params\":\"\",\"port\":\"COM1\"}\n");
}
