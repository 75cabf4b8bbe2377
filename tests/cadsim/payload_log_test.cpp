#include "cadsim/core/payload_log.h"

#include <gtest/gtest.h>

#include "cadlink/channel.h"
#include "cadsim/client/control.h"
#include "cadsim/core/options.h"
#include "common/codepage.h"

namespace cadsim {
namespace {

std::vector<std::uint8_t> bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

TEST(PayloadLog, MakesControlCharactersVisibleReadAsWideOrAsNarrow) {
    const std::u16string text = u"\x1b-Layer\rD-STR\r\n図";
    auto wide = cadlink::EncodeCommand(text);
    auto narrow = tiermark::toCp932(text);
    EXPECT_EQ(visibleText(wide->bytes, true, 100), "<ESC>-Layer<CR>D-STR<CR><LF>図<NUL>");
    EXPECT_EQ(visibleText(bytes(*narrow + std::string(1, '\0')), false, 100),
              "<ESC>-Layer<CR>D-STR<CR><LF>図<NUL>");
    EXPECT_EQ(visibleText(bytes("a\x01\x82"), false, 100), "a<0x01>\xEF\xBF\xBD");
    EXPECT_EQ(visibleText(bytes(std::string("a\0b", 3)), true, 100), "a\xEF\xBF\xBD");  // odd length
    EXPECT_EQ(visibleText(bytes("abcdef"), false, 3), "abc…");
}

TEST(PayloadLog, OneJsonLinePerPayload) {
    PayloadRecord record{0x10001, 1, 1, bytes(std::string("_move\r\0", 7)), "taken"};
    EXPECT_EQ(
        payloadLogLine(record, "narrow", "T"),
        "{\"time\":\"T\",\"window\":\"0x10001\",\"wParam\":1,\"dwData\":1,\"cbData\":7,\"form\":\"narrow\","
        "\"text\":\"_move<CR><NUL>\",\"hex\":\"5f6d6f76650d00\",\"outcome\":\"taken\"}");
    record.bytes.assign(3 * 1024 * 1024, 'A');
    const std::string line = payloadLogLine(record, "narrow", "T");
    EXPECT_NE(line.find("\"cbData\":3145728"), std::string::npos);
    EXPECT_NE(line.find("\"truncated\":true"), std::string::npos);
    EXPECT_LT(line.size(), 20000u);
}

TEST(Options, ReadsTheStandInsCommandLine) {
    auto o = parseOptions({"--drawing", "/x/y/site.dxf", "--log=/tmp/l", "--headless", "--state", "s.json"});
    ASSERT_TRUE(o.ok());
    EXPECT_EQ(o->drawing, "/x/y/site.dxf");
    EXPECT_EQ(o->log, "/tmp/l");
    EXPECT_EQ(o->state, "s.json");
    EXPECT_TRUE(o->headless);
    EXPECT_EQ(drawingName(*o), "site.dxf");
    EXPECT_EQ(drawingName(*parseOptions({})), "Drawing1.dwg");
    EXPECT_EQ(drawingName(*parseOptions({"--title", "図面2.dwg"})), "図面2.dwg");
    for (const auto& bad :
         std::vector<std::vector<std::string>>{{"--drawing"}, {"--bogus"}, {"--title="}, {"x"}}) {
        EXPECT_FALSE(parseOptions(bad).ok()) << bad[0];
    }
}

TEST(ControlClient, ParsesVerbsAndEscapes) {
    auto c = parseControlCommand({"--pid", "42", "pick", "1", "7"});
    ASSERT_TRUE(c.ok());
    EXPECT_EQ(*c->pid, 42u);
    EXPECT_EQ(c->arguments, (std::vector<std::string>{"1", "7"}));
    EXPECT_FALSE(c->pid && parseControlCommand({"state"})->pid);
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {}, {"--pid"}, {"--pid", "x", "state"}, {"pick"}, {"pick", "a"}, {"rename", "A"}, {"fly"}}) {
        EXPECT_FALSE(parseControlCommand(bad).ok());
    }
    EXPECT_EQ(*unescapeText("\\e\\e-Layer\\rn\\r\\\\"), "\x1b\x1b-Layer\rn\r\\");
    EXPECT_EQ(*unescapeText("a\\0b"), std::string("a\0b", 3));
    EXPECT_FALSE(unescapeText("a\\").ok());
    EXPECT_FALSE(unescapeText("\\q").ok());
}

}  // namespace
}  // namespace cadsim
