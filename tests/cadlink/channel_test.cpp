#include "cadlink/channel.h"

#include <gtest/gtest.h>

#include "cadlink/fake_window_system.h"

namespace cadlink {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& s) {
    return {s.begin(), s.end()};
}

TEST(EncodeCommand, BuildsWideAndNarrowPayloadsWithOneTerminator) {
    auto wide = EncodeCommand(u"_move\r", TextForm::Wide);
    ASSERT_TRUE(wide.ok());
    EXPECT_EQ(wide->dwData, 1u);
    EXPECT_EQ(wide->cbData(), 14u);
    EXPECT_EQ(wide->bytes, bytesOf(std::string("_\0m\0o\0v\0e\0\r\0\0\0", 14)));

    auto narrow = EncodeCommand(u"_move\r", TextForm::Narrow);
    ASSERT_TRUE(narrow.ok());
    EXPECT_EQ(narrow->bytes, bytesOf(std::string("_move\r\0", 7)));

    EXPECT_EQ(EncodeCommand(u"", TextForm::Wide)->cbData(), 2u);
    EXPECT_EQ(EncodeCommand(u"", TextForm::Narrow)->cbData(), 1u);
    // A text that ends in NUL already arrives with two terminators.
    EXPECT_EQ(EncodeCommand(std::u16string(u"\x1b\x1b\0", 3), TextForm::Wide)->cbData(), 8u);
    EXPECT_EQ(EncodeCommand(std::u16string(u"\x1b\x1b\0", 3), TextForm::Narrow)->cbData(), 4u);
}

TEST(EncodeCommand, KeepsJapaneseIntactInBothForms) {
    auto wide = EncodeCommand(u"構造物D-STR\r", TextForm::Wide);
    EXPECT_EQ(wide->cbData(), 2u * 10u);
    auto narrow = EncodeCommand(u"構造物D-STR\r", TextForm::Narrow);
    ASSERT_TRUE(narrow.ok());
    EXPECT_EQ(narrow->bytes, bytesOf(std::string("\x8D\x5C\x91\xA2\x95\xA8"
                                                 "D-STR\r\0",
                                                 13)));
    EXPECT_FALSE(EncodeCommand(u"😀\r", TextForm::Narrow).ok());
}

TEST(DecodeCommand, TellsTheFormsApartOnEveryTextTheProgramSends) {
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
        const std::u16string upToNul = text.substr(0, text.find(u'\0'));
        for (TextForm form : {TextForm::Wide, TextForm::Narrow}) {
            auto payload = EncodeCommand(text, form);
            ASSERT_TRUE(payload.ok());
            auto decoded = DecodeCommand(payload->bytes);
            ASSERT_TRUE(decoded.ok()) << decoded.error().message;
            EXPECT_EQ(decoded->text, upToNul);
            if (!upToNul.empty()) {
                EXPECT_EQ(decoded->form, form);
            }
        }
    }
}

TEST(DecodeCommand, RefusesPayloadsThatAreNeitherForm) {
    EXPECT_FALSE(DecodeCommand({}).ok());
    EXPECT_FALSE(DecodeCommand(bytesOf("abc")).ok());                           // no terminator
    EXPECT_FALSE(DecodeCommand(bytesOf(std::string("\x81\x20\0", 3))).ok());    // invalid code page 932
    EXPECT_FALSE(DecodeCommand(bytesOf(std::string("\x41\x00\x42", 3))).ok());  // odd-length wide text
}

class Channel : public ::testing::Test {
protected:
    FakeWindowSystem system;
    bool selected = true;
    WindowHandle target = 0;
    std::vector<std::u16string> messages;

    CommandChannel channel(TextForm form) {
        return CommandChannel(
            system,
            [this](WindowHandle& window) {
                if (!selected)
                    return false;
                window = target;
                return true;
            },
            [this](const std::u16string& text) { messages.push_back(text); }, form);
    }
};

TEST_F(Channel, SendsOneCopyDataAndTwoNullPostsPerText) {
    const auto pid = system.addProcess("acadlt.exe");
    target = system.addWindow(pid, "AutoCAD LT - [a.dwg]");
    auto wide = channel(TextForm::Wide);
    wide.SendCommand(u"_move\r");
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

TEST_F(Channel, WithoutTargetShowsTheMessageOncePerTextAndSendsNothing) {
    selected = false;
    auto narrow = channel(TextForm::Narrow);
    narrow.SendCommand(u"-group\r");
    narrow.SendCommand(u"C\r");
    EXPECT_TRUE(system.sent.empty());
    EXPECT_TRUE(system.posted.empty());
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], u"AutoCADが選択されていません");
}

TEST_F(Channel, AWindowThatIsZeroOrGoneFailsSilently) {
    auto wide = channel(TextForm::Wide);
    target = 0;
    wide.SendCommand(u"x\r");
    const auto pid = system.addProcess("acadlt.exe");
    target = system.addWindow(pid, "AutoCAD LT - [a.dwg]");
    system.closeWindow(target);
    wide.SendCommand(u"x\r");
    EXPECT_TRUE(system.sent.empty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(Channel, NarrowTextThatCodePage932CannotHoldIsNotSent) {
    const auto pid = system.addProcess("acadlt.exe");
    target = system.addWindow(pid, "AutoCAD LT - [a.dwg]");
    auto narrow = channel(TextForm::Narrow);
    narrow.SendCommand(u"한\r");
    EXPECT_TRUE(system.sent.empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], kUnencodableMessage);
}

TEST_F(Channel, ReadsTheSelectionAfreshForEveryText) {
    const auto pid1 = system.addProcess("acadlt.exe");
    const WindowHandle first = system.addWindow(pid1, "AutoCAD LT - [a.dwg]");
    const auto pid2 = system.addProcess("acadlt.exe");
    const WindowHandle second = system.addWindow(pid2, "AutoCAD LT - [b.dwg]");
    auto wide = channel(TextForm::Wide);
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
