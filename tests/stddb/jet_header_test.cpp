#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "stddb/connect_string.h"
#include "stddb/jet_header.h"
#include "stddb/jet_text.h"

namespace stddb::jet {
namespace {

std::vector<std::uint8_t> page0(Version version, const char* signature = "Standard Jet DB") {
    std::vector<std::uint8_t> page(layoutOf(version).pageSize, 0);
    page[1] = 1;
    std::memcpy(page.data() + 4, signature, std::strlen(signature));
    page[kVersionOffset] = version == Version::Jet4 ? 1 : 0;
    return page;
}

TEST(JetHeader, UnmasksTheJet4PasswordWithTheCreationDate) {
    for (const std::u16string password : {u"947215036382", u"", u"パスワード", u"12345678901234567890"}) {
        auto page = page0(Version::Jet4);
        const double created = 39326.75;
        std::memcpy(page.data() + kCreationDateOffset, &created, sizeof created);
        const auto mask = passwordDateMask(created);
        for (std::size_t i = 0; i < 40; ++i) {
            const char16_t c = i / 2 < password.size() ? password[i / 2] : 0;
            page[kPasswordOffset + i] = static_cast<std::uint8_t>((i % 2 ? c >> 8 : c & 0xFF) ^ mask[i % 4]);
        }
        maskHeader(page, Version::Jet4);
        auto header = parseHeader(page);
        ASSERT_TRUE(header.ok());
        EXPECT_EQ(header->version, Version::Jet4);
        EXPECT_EQ(header->password, password);
        EXPECT_EQ(header->databaseKey, 0u);
    }
}

TEST(JetHeader, UnmasksTheJet3PasswordWithoutDateMask) {
    auto page = page0(Version::Jet3);
    std::memcpy(page.data() + kPasswordOffset, "secret", 6);
    maskHeader(page, Version::Jet3);
    auto header = parseHeader(page);
    ASSERT_TRUE(header.ok());
    EXPECT_EQ(header->version, Version::Jet3);
    EXPECT_EQ(header->password, u"secret");
}

TEST(JetHeader, RejectsWhatIsNotAJetDatabase) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        const char* mentions;
    };
    auto ace = page0(Version::Jet4, "Standard ACE DB");
    ace[kVersionOffset] = 2;
    auto future = page0(Version::Jet4);
    future[kVersionOffset] = 7;
    auto notFirst = page0(Version::Jet4);
    notFirst[0] = 1;
    const std::string text =
        "this is a text file renamed to Tiermark.MDB, with enough bytes to fill the header area "
        "of a database page and more, so only the signature can tell. The header area of a Jet 4 page ends at "
        "byte 152, which this sentence passes.";
    const Case cases[] = {{ace, "accdb"},
                          {future, "version"},
                          {notFirst, "Standard Jet DB"},
                          {std::vector<std::uint8_t>(text.begin(), text.end()), "Standard Jet DB"},
                          {std::vector<std::uint8_t>(20, 0), "too short"}};
    for (const Case& c : cases) {
        auto header = parseHeader(c.bytes);
        ASSERT_FALSE(header.ok());
        EXPECT_NE(header.error().message.find(c.mentions), std::string::npos) << header.error().message;
    }
}

TEST(ConnectString, FindsThePasswordItem) {
    EXPECT_EQ(passwordFromConnect(u";pwd=947215036382"), u"947215036382");
    EXPECT_EQ(passwordFromConnect(u"MS Access;PWD=abc;"), u"abc");
    EXPECT_EQ(passwordFromConnect(u";pwd="), u"");
    EXPECT_EQ(passwordFromConnect(u""), u"");
    EXPECT_EQ(passwordFromConnect(u"pwdx=1"), u"");
}

TEST(JetText, DecodesPlainAndCompressedUnicode) {
    const std::vector<std::uint8_t> plain{0xD2, 0x9E, 0x00, 0x30, 0x41, 0x00};  // 黒, ideographic space, A
    EXPECT_EQ(decodeJet4Text(plain).value(), u"黒\u3000A");
    const std::vector<std::uint8_t> compressed{0xFF, 0xFE, '-', 'S', 0x00, 0xD2, 0x9E, 0x00, 'n'};
    EXPECT_EQ(decodeJet4Text(compressed).value(), u"-S黒n");
    EXPECT_FALSE(decodeJet4Text(std::vector<std::uint8_t>{0x41}).ok());
    EXPECT_FALSE(decodeJet4Text(std::vector<std::uint8_t>{0xFF, 0xFE, 0x00, 0x41}).ok());
}

// A damaged or hostile file may hold half of a surrogate pair; it must not reach the forms, the command
// texts or the stand-in as anything but the replacement character.
TEST(JetText, ReplacesUnpairedSurrogatesAndKeepsPairs) {
    // 𠀋 (D840 DC0B) stays; a lone lead before "A", a lone trail, and a lead at the very end are replaced.
    const std::vector<std::uint8_t> plain{0x40, 0xD8, 0x0B, 0xDC, 0x00, 0xD8, 0x41,
                                          0x00, 0x0B, 0xDC, 0x42, 0x00, 0x3D, 0xD8};
    EXPECT_EQ(decodeJet4Text(plain).value(), u"𠀋\uFFFDA\uFFFDB\uFFFD");
    // In the two-byte runs of compressed text, too.
    const std::vector<std::uint8_t> compressed{0xFF, 0xFE, '-', 0x00, 0x01, 0xD8, 0x00, 'S'};
    EXPECT_EQ(decodeJet4Text(compressed).value(), u"-\uFFFDS");
}

}  // namespace
}  // namespace stddb::jet
