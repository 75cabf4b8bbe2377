#include "cadlink/channel.h"

#include <gtest/gtest.h>

#include "cadlink/fake_window_system.h"

namespace cadlink {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& s) {
    return {s.begin(), s.end()};
}

TEST(EncodeCommand, BuildsWidePayloadsWithOneTerminator) {
    auto wide = EncodeCommand(u"_move\r");
    ASSERT_TRUE(wide.ok());
    EXPECT_EQ(wide->dwData, 1u);
    EXPECT_EQ(wide->cbData(), 14u);
    EXPECT_EQ(wide->bytes, bytesOf(std::string("_\0m\0o\0v\0e\0\r\0\0\0", 14)));
    EXPECT_EQ(EncodeCommand(u"")->cbData(), 2u);
    // A text that ends in NUL already arrives with two terminators.
    EXPECT_EQ(EncodeCommand(std::u16string(u"\x1b\x1b\0", 3))->cbData(), 8u);
    // Japanese and characters beyond the basic plane keep every unit.
    EXPECT_EQ(EncodeCommand(u"構造物D-STR\r")->cbData(), 2u * 10u);
    EXPECT_EQ(EncodeCommand(u"😀\r")->cbData(), 2u * 4u);
}

TEST(EncodeCommand, RefusesTextThatIsNoValidUtf16) {
    for (const std::u16string& text :
         {std::u16string(u"D-\xD800\r"), std::u16string(u"\xDC00"), std::u16string(1, u'\xD83D')}) {
        EXPECT_FALSE(EncodeCommand(text).ok());
    }
}

TEST(DecodeCommand, ReadsEveryTextTheProgramSends) {
    const std::u16string texts[] = {
        std::u16string(u"\x1b\x1b\0", 3),
        u"-group\r",
        u"C\r",
        u"KESTRA\r\r",
        u"0,0\r420,0\r",
        u"\r",
        u"",
        u"D-STR\r",
        u"構造物D-STR\r",
        u"\x1b",
        u"図面",
        u"G\r",
        u"LA\r",
    };
    for (const std::u16string& text : texts) {
        auto payload = EncodeCommand(text);
        ASSERT_TRUE(payload.ok());
        auto decoded = DecodeCommand(payload->bytes);
        ASSERT_TRUE(decoded.ok()) << decoded.error().message;
        EXPECT_EQ(*decoded, text.substr(0, text.find(u'\0')));
    }
}

TEST(DecodeCommand, RefusesWhatIsNotUtf16WithItsTerminatorAndSaysWhy) {
    struct Case {
        std::string bytes;
        const char* why;
    };
    const Case cases[] = {
        {"", "does not end in a 16-bit NUL"},
        {std::string("_move\r\0", 7), "odd number of bytes (7)"},             // the narrow form of _move CR
        {std::string("-group\r\0", 8), "does not end in a 16-bit NUL"},       // narrow, of even length
        {std::string("\x8D\x5C\x91\xA2\0", 5), "odd number of bytes"},        // narrow Japanese
        {std::string("A\0B\0", 4), "does not end in a 16-bit NUL"},           // no terminator
        {std::string("A\0\x00\xD8\0\0", 6), "unpaired surrogate at byte 2"},  // a lead surrogate alone
    };
    for (const Case& c : cases) {
        auto decoded = DecodeCommand(bytesOf(c.bytes));
        ASSERT_FALSE(decoded.ok()) << c.why;
        EXPECT_NE(decoded.error().message.find(c.why), std::string::npos) << decoded.error().message;
    }
}

class Channel : public ::testing::Test {
protected:
    FakeWindowSystem system;
    bool selected = true;
    WindowHandle target = 0;
    std::vector<std::u16string> messages;

    CommandChannel channel() {
        return CommandChannel(
            system,
            [this](WindowHandle& window) {
                if (!selected)
                    return false;
                window = target;
                return true;
            },
            [this](const std::u16string& text) { messages.push_back(text); });
    }
};

TEST_F(Channel, SendsOneCopyDataAndTwoNullPostsPerText) {
    const auto pid = system.addProcess("acadlt.exe");
    target = system.addWindow(pid, "AutoCAD LT - [a.dwg]");
    auto wide = channel();
    EXPECT_EQ(wide.SendCommand(u"_move\r"), Delivery::Taken);
    ASSERT_EQ(system.sent.size(), 1u);
    EXPECT_EQ(system.sent[0].window, target);
    EXPECT_EQ(system.sent[0].wParam, 1u);
    EXPECT_EQ(system.sent[0].dwData, 1u);
    EXPECT_EQ(system.sent[0].bytes.size(), 14u);
    ASSERT_EQ(system.posted.size(), 2u);
    for (const auto& post : system.posted) {
        EXPECT_EQ(post.window, target);
        EXPECT_EQ(post.message, kWmNull);
        EXPECT_EQ(post.wParam, 0u);
        EXPECT_EQ(post.lParam, 0);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(Channel, WithoutTargetShowsTheMessageAndSendsNothing) {
    selected = false;
    auto wide = channel();
    EXPECT_EQ(wide.SendCommand(u"-group\r"), Delivery::NoTarget);
    EXPECT_TRUE(system.sent.empty());
    EXPECT_TRUE(system.posted.empty());
    EXPECT_EQ(messages, std::vector<std::u16string>{u"AutoCADが選択されていません"});
    EXPECT_TRUE(notDeliveredMessage(Delivery::NoTarget).empty());  // said already
}

TEST_F(Channel, ALineWithoutWindowSendsNothingAndAWindowThatIsGoneHasNotTakenTheText) {
    auto wide = channel();
    target = 0;  // AutoCAD LT still starting, or a title discovery did not recognise
    EXPECT_EQ(wide.SendCommand(u"x\r"), Delivery::NoWindow);
    EXPECT_EQ(notDeliveredMessage(Delivery::NoWindow), kNoWindowMessage);
    EXPECT_NE(notDeliveredMessage(Delivery::NoWindow).find(u"起動中か"), std::u16string::npos);
    const auto pid = system.addProcess("acadlt.exe");
    target = system.addWindow(pid, "AutoCAD LT - [a.dwg]");
    system.closeWindow(target);
    EXPECT_EQ(wide.SendCommand(u"x\r"), Delivery::NotTaken);
    EXPECT_TRUE(system.sent.empty());
    EXPECT_TRUE(system.posted.empty());
    EXPECT_TRUE(messages.empty());  // the action that sent it tells the user, once
}

TEST_F(Channel, TextThatIsNoValidUtf16IsNotSent) {
    const auto pid = system.addProcess("acadlt.exe");
    target = system.addWindow(pid, "AutoCAD LT - [a.dwg]");
    auto wide = channel();
    EXPECT_EQ(wide.SendCommand(u"D-\xD800\r"), Delivery::Refused);
    EXPECT_TRUE(system.sent.empty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(Channel, ASequenceStopsAtTheFirstTextNotTaken) {
    const auto pid = system.addProcess("acadlt.exe");
    target = system.addWindow(pid, "AutoCAD LT - [a.dwg]");
    auto wide = channel();
    EXPECT_EQ(sendAll(wide, {u"change\r", u"G\r"}), Delivery::Taken);
    EXPECT_EQ(sendAll(wide, {u"LA\r", u"D-\xD800\r", u"\r", u"\x1b\x1b"}), Delivery::Refused);
    EXPECT_EQ(system.sent.size(), 3u);  // nothing after the text that could not be sent
    system.closeWindow(target);
    EXPECT_EQ(sendAll(wide, {u"-group\r", u"U\r"}), Delivery::NotTaken);
    EXPECT_EQ(system.sent.size(), 3u);
    // One message for the action: AutoCAD LT did not take the commands; check its command line, press Esc.
    for (Delivery delivery : {Delivery::Refused, Delivery::NotTaken}) {
        const std::u16string message = notDeliveredMessage(delivery);
        EXPECT_NE(message.find(u"コマンドラインを確認し、Esc キーを押して"), std::u16string::npos);
        EXPECT_NE(message.find(u"残りのコマンドは送っていません"), std::u16string::npos);
    }
    EXPECT_TRUE(notDeliveredMessage(Delivery::Taken).empty());
}

TEST_F(Channel, ReadsTheSelectionAfreshForEveryText) {
    const auto pid1 = system.addProcess("acadlt.exe");
    const WindowHandle first = system.addWindow(pid1, "AutoCAD LT - [a.dwg]");
    const auto pid2 = system.addProcess("acadlt.exe");
    const WindowHandle second = system.addWindow(pid2, "AutoCAD LT - [b.dwg]");
    auto wide = channel();
    target = first;
    wide.SendCommand(u"a\r");
    target = second;
    wide.SendCommand(u"b\r");
    ASSERT_EQ(system.sent.size(), 2u);
    EXPECT_EQ(system.sent[0].window, first);
    EXPECT_EQ(system.sent[1].window, second);
}

}  // namespace
}  // namespace cadlink
