#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <random>

#include "common/utf.h"
#include "fixtures.h"
#include "jet3_fixture.h"
#include "stddb/jet_header.h"
#include "stddb/jet_workspace.h"

namespace stddb {
namespace {

using namespace stddb::testing;

std::vector<Table> layerTables() {
    return {{u"レイヤーテーブル",
             {longint(u"工種ID"), text(u"図面名", 50), integer(u"備考"), text(u"作図要素", 20),
              text(u"図面オブジェクト", 20), text(u"内容"), text(u"線種", 20), text(u"線色", 20)},
             {{v(19), v(u"一般図"), kNull, kNull, v(u"-TTL"), v(u"図枠"), v(u"実線"), v(u"黄")},
              {v(19), v(u"一般図"), v(93), v(u"-TXTn"), v(u"-STR"), v(u"主構造物の文字列"), kNull, kNull},
              {v(19), v(u"平面図"), kNull, v(u""), v(u"-BGD"), v(u"現況地物"), v(u"破線"), v(u"任意")}}},
            {u"空テーブル", {text(u"名称")}, {}}};
}

tiermark::Result<std::unique_ptr<Database>> open(const std::filesystem::path& file,
                                                 std::u16string_view connect = kConnectString) {
    JetWorkspace workspace;
    return workspace.OpenDatabase(u16path(file), false, false, connect);
}

// Opens the file and reads every listed table whole; false on the first failure.
bool openAndRead(const std::filesystem::path& file, const std::vector<std::u16string>& tables) {
    auto db = open(file);
    if (!db) {
        return false;
    }
    for (const auto& table : tables) {
        if (!db.value()->OpenRecordset(table)) {
            return false;
        }
    }
    return true;
}

TEST(JetWorkspace, OpensOnlyWithTheFilesPassword) {
    TempFolder folder;
    const auto locked = folder.write("locked.mdb", layerTables(), u"947215036382");
    const auto free = folder.write("free.mdb", layerTables(), u"");
    const auto japanese = folder.write("japanese.mdb", layerTables(), u"図面パスワード");
    struct Case {
        std::filesystem::path file;
        std::u16string connect;
        bool opens;
    };
    const Case cases[] = {
        {locked, std::u16string(kConnectString), true}, {locked, u";pwd=947215036383", false},
        {locked, u";pwd=94721503638", false},           {locked, u"", false},
        {free, std::u16string(kConnectString), true},   {free, u"", true},
        {japanese, u";pwd=図面パスワード", true},       {japanese, std::u16string(kConnectString), false}};
    for (const Case& c : cases) {
        auto db = open(c.file, c.connect);
        EXPECT_EQ(db.ok(), c.opens) << c.file << " " << tiermark::toUtf8(c.connect);
        if (!db.ok()) {
            EXPECT_NE(db.error().message.find("password"), std::string::npos) << db.error().message;
        }
    }
}

TEST(JetWorkspace, FindsTheFileWhateverTheCaseOfItsName) {
    TempFolder folder;
    folder.write("Tiermark.MDB", layerTables());
    for (const char* name : {"Tiermark.MDB", "TIERMARK.MDB", "Tiermark.mdb", "tiermark.mdb"}) {
        EXPECT_TRUE(open(folder / name).ok()) << name;
    }
    EXPECT_FALSE(open(folder / "Tiermark.MDB.bak").ok());
    folder.write("TIERMARK.mdb", layerTables());
    EXPECT_FALSE(open(folder / "tiermark.Mdb").ok()) << "two candidates: no guess";
}

TEST(JetWorkspace, RefusesFilesThatAreNotReadableDatabases) {
    TempFolder folder;
    const auto good = folder.write("good.mdb", layerTables());
    std::string bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::mt19937 random(42);
    std::string noise(32768, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    std::string ace = bytes;
    ace.replace(4, 15, "Standard ACE DB");
    std::filesystem::create_directories(folder / "folder.mdb");

    struct Case {
        std::filesystem::path file;
        const char* mentions;
    };
    const Case cases[] = {
        {folder / "missing.mdb", "does not exist"},
        {folder / "folder.mdb", "folder"},
        {folder.writeBytes("empty.mdb", ""), "empty"},
        {folder.writeBytes("short.mdb", bytes.substr(0, 100)), "too short"},
        {folder.writeBytes("cut.mdb", bytes.substr(0, bytes.size() - 1000)), "truncated"},
        {folder.writeBytes("noise.mdb", noise), "not an Access database"},
        {folder.writeBytes("renamed.MDB", std::string(5000, 'x')), "not an Access database"},
        {folder.writeBytes("new.mdb", ace), "accdb"},
    };
    for (const Case& c : cases) {
        auto db = open(c.file);
        ASSERT_FALSE(db.ok()) << c.file;
        EXPECT_NE(db.error().message.find(c.mentions), std::string::npos) << db.error().message;
    }
}

TEST(JetWorkspace, RefusesAFileItCannotRead) {
    TempFolder folder;
    const auto file = folder.write("locked.mdb", layerTables());
    std::filesystem::permissions(file, std::filesystem::perms::none);
    if (::access(file.c_str(), R_OK) == 0) {
        GTEST_SKIP() << "running with rights that read any file";
    }
    auto db = open(file);
    ASSERT_FALSE(db.ok());
    EXPECT_NE(db.error().message.find("cannot be read"), std::string::npos) << db.error().message;
}

TEST(JetWorkspace, DetectsLostPagesAsDamage) {
    TempFolder folder;
    std::vector<Table> tables = layerTables();
    Table big{u"大きい", {longint(u"番号"), text(u"説明")}, {}};
    for (int i = 0; i < 600; ++i) {
        big.rows.push_back({v(i), v(u"説明文の行")});
    }
    tables.push_back(big);
    const auto good = folder.write("good.mdb", tables);
    std::string bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    // Cut at a page boundary: the header still looks right, but the last data page is gone.
    const auto cut = folder.writeBytes("cut.mdb", bytes.substr(0, bytes.size() - 4096));
    EXPECT_FALSE(openAndRead(cut, {u"レイヤーテーブル", u"空テーブル", u"大きい"}));
    // A data page overwritten with zeros.
    std::string zeroed = bytes;
    std::fill(zeroed.end() - 3 * 4096, zeroed.end() - 2 * 4096, '\0');
    EXPECT_FALSE(openAndRead(folder.writeBytes("zeroed.mdb", zeroed), {u"大きい"}));
    EXPECT_TRUE(openAndRead(good, {u"レイヤーテーブル", u"空テーブル", u"大きい"}));
}

TEST(JetWorkspace, ReadsTablesFieldsNullsAndEmptyRows) {
    TempFolder folder;
    auto db = open(folder.write("layers.mdb", layerTables()));
    ASSERT_TRUE(db.ok()) << db.error().message;

    EXPECT_FALSE(db.value()->OpenRecordset(u"図面マスター").ok());
    auto empty = db.value()->OpenRecordset(u"空テーブル");
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(empty.value()->Eof());
    EXPECT_FALSE(empty.value()->MoveFirst().ok());

    auto layers = db.value()->OpenRecordset(u"レイヤーテーブル");
    ASSERT_TRUE(layers.ok()) << layers.error().message;
    layers.value()->Filter = u"工種ID = 19 and 図面名 ='一般図'";
    auto rs = layers.value()->OpenRecordset();
    ASSERT_TRUE(rs.ok());
    ASSERT_EQ(rs.value()->RecordCount(), 2u);
    ASSERT_TRUE(rs.value()->MoveFirst().ok());
    EXPECT_TRUE(isNull(rs.value()->Field(u"備考").value()));
    EXPECT_TRUE(isNull(rs.value()->Field(u"作図要素").value()));
    EXPECT_EQ(rs.value()->Field(u"線色").value(), v(u"黄"));
    EXPECT_FALSE(rs.value()->Field(u"線幅").ok());
    ASSERT_TRUE(rs.value()->MoveNext().ok());
    EXPECT_EQ(rs.value()->Field(u"備考").value(), v(93));
    EXPECT_EQ(rs.value()->Field(u"作図要素").value(), v(u"-TXTn"));
    EXPECT_TRUE(isNull(rs.value()->Field(u"線種").value()));

    layers.value()->Filter = u"図面名 ='平面図'";
    auto plan = layers.value()->OpenRecordset();
    ASSERT_TRUE(plan.ok());
    EXPECT_EQ(plan.value()->Field(u"作図要素").value(), v(u""));
    layers.value()->Filter = u"工種ID = 19 and 図面名 ='a'b'";
    EXPECT_FALSE(layers.value()->OpenRecordset().ok());
}

TEST(JetWorkspace, RoundTripsJapaneseTextAndExactNumbers) {
    const std::u16string longText(255, u'漢');
    Table table{u"全角　テーブル名",
                {text(u"名称（全角）"), integer(u"整数"), longint(u"長整数"), real(u"実数")},
                {{v(u"一"), v(-32768), v(-2147483647 - 1), v(0.1)},
                 {v(u"　先頭が全角空白"), v(32767), v(2147483647), v(0.13)},
                 {v(u"ﾊﾝｶｸｶﾅ ascii -STR-TXTn"), v(0), v(0), v(1e-300)},
                 {v(u"abcdef"), v(1), v(1), v(-1189.5)},
                 {v(longText.c_str()), kNull, kNull, kNull}}};
    TempFolder folder;
    auto db = open(folder.write("japanese.mdb", {table}));
    ASSERT_TRUE(db.ok()) << db.error().message;
    auto rs = db.value()->OpenRecordset(u"全角　テーブル名");
    ASSERT_TRUE(rs.ok()) << rs.error().message;
    std::vector<std::vector<Value>> rows;
    for (; !rs.value()->Eof(); (void)rs.value()->MoveNext()) {
        std::vector<Value> row;
        for (const auto& column : table.columns) {
            row.push_back(rs.value()->Field(column.name).value());
        }
        rows.push_back(row);
    }
    EXPECT_EQ(rows, table.rows);
}

TEST(JetWorkspace, TextWithHalfASurrogatePairReadsWithTheReplacementCharacter) {
    // The writer keeps to valid text, so the file gets its half pair afterwards: 一 (which keeps the value
    // uncompressed, 00 4E) followed by ☃ (03 26), whose unit is then overwritten with a lone DC00.
    std::vector<Table> tables = layerTables();
    tables[0].rows[0][4] = Value{std::u16string(u"-TT一☃")};
    TempFolder folder;
    const auto good = folder.write("surrogate.mdb", tables);
    std::string bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::string marker("\x00\x4E\x03\x26", 4);
    const std::size_t at = bytes.find(marker);
    ASSERT_NE(at, std::string::npos);
    bytes[at + 2] = '\x00';
    bytes[at + 3] = '\xDC';
    auto db = open(folder.writeBytes("half-pair.mdb", bytes));
    ASSERT_TRUE(db.ok()) << db.error().message;
    auto rs = db.value()->OpenRecordset(u"レイヤーテーブル");
    ASSERT_TRUE(rs.ok()) << rs.error().message;
    EXPECT_EQ(rs.value()->Field(u"図面オブジェクト").value(), Value{std::u16string(u"-TT一\uFFFD")});
}

TEST(JetWorkspace, ReadsThousandsOfRowsOverManyPagesInOrder) {
    Table table{u"レイヤーテーブル", {longint(u"工種ID"), text(u"内容")}, {}};
    const std::u16string filler(200, u'線');
    for (int i = 0; i < 5000; ++i) {
        table.rows.push_back({v(i), Value{filler + tiermark::fromUtf8(std::to_string(i))}});
    }
    TempFolder folder;
    const auto file = folder.write("many.mdb", {table});
    EXPECT_GT(std::filesystem::file_size(file), 500u * 4096u);  // more pages than an inline usage map covers
    auto db = open(file);
    ASSERT_TRUE(db.ok()) << db.error().message;
    auto rs = db.value()->OpenRecordset(u"レイヤーテーブル");
    ASSERT_TRUE(rs.ok()) << rs.error().message;
    ASSERT_EQ(rs.value()->RecordCount(), 5000u);
    for (std::int64_t i = 0; !rs.value()->Eof(); ++i, (void)rs.value()->MoveNext()) {
        ASSERT_EQ(rs.value()->Field(u"工種ID").value(), Value{i});
    }
    rs.value()->Filter = u"工種ID = 4999";
    EXPECT_EQ(rs.value()->OpenRecordset().value()->RecordCount(), 1u);
}

TEST(JetWorkspace, ReadsAnEncodedDatabase) {
    // An "encoded" file: a non-zero key in the header, every page after the first RC4-scrambled with the
    // key XOR its page number.
    TempFolder folder;
    std::string bytes;
    {
        std::ifstream in(folder.write("plain.mdb", layerTables()), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::uint8_t> file(bytes.begin(), bytes.end());
    const std::uint32_t key = 0x2A5C3E11;
    std::span<std::uint8_t> page0(file.data(), 4096);
    jet::maskHeader(page0, jet::Version::Jet4);
    for (int i = 0; i < 4; ++i) {
        page0[jet::kDatabaseKeyOffset + i] = static_cast<std::uint8_t>(key >> (8 * i));
    }
    jet::maskHeader(page0, jet::Version::Jet4);
    for (std::uint32_t page = 1; page < file.size() / 4096; ++page) {
        const std::uint32_t pageKey = key ^ page;
        const std::array<std::uint8_t, 4> keyBytes{
            static_cast<std::uint8_t>(pageKey), static_cast<std::uint8_t>(pageKey >> 8),
            static_cast<std::uint8_t>(pageKey >> 16), static_cast<std::uint8_t>(pageKey >> 24)};
        jet::rc4(keyBytes, std::span<std::uint8_t>(file.data() + page * 4096, 4096));
    }
    auto db = open(folder.writeBytes("encoded.mdb", std::string(file.begin(), file.end())));
    ASSERT_TRUE(db.ok()) << db.error().message;
    auto layers = db.value()->OpenRecordset(u"レイヤーテーブル");
    ASSERT_TRUE(layers.ok()) << layers.error().message;
    EXPECT_EQ(layers.value()->RecordCount(), 3u);
    EXPECT_EQ(layers.value()->Field(u"内容").value(), v(u"図枠"));
}

TEST(JetWorkspace, ReadsAnAccess97FileWithCodePage932Text) {
    using J = Jet3File;
    const std::vector<Jet3Column> columns = {{"名称", 10, 20}, {"色定数", 4, 4}};
    const std::string file = J::build("secret", "線色マスター", columns,
                                      {{J::cp932("黒"), J::le32(0)},
                                       {std::nullopt, std::nullopt},
                                       {std::string(), J::le32(7)},
                                       {J::cp932("ｼｱﾝ　Cyan"), J::le32(4)}});
    TempFolder folder;
    const auto path = folder.writeBytes("access97.mdb", file);
    EXPECT_FALSE(open(path, u";pwd=947215036382").ok());
    auto db = open(path, u";pwd=secret");
    ASSERT_TRUE(db.ok()) << db.error().message;
    auto rs = db.value()->OpenRecordset(u"線色マスター");
    ASSERT_TRUE(rs.ok()) << rs.error().message;
    std::vector<std::vector<Value>> rows;
    for (; !rs.value()->Eof(); (void)rs.value()->MoveNext()) {
        rows.push_back({rs.value()->Field(u"名称").value(), rs.value()->Field(u"色定数").value()});
    }
    EXPECT_EQ(rows, (std::vector<std::vector<Value>>{
                        {v(u"黒"), v(0)}, {kNull, kNull}, {v(u""), v(7)}, {v(u"ｼｱﾝ　Cyan"), v(4)}}));
    rs.value()->Filter = u"名称 = '黒'";
    EXPECT_EQ(rs.value()->OpenRecordset().value()->Field(u"色定数").value(), v(0));
}

}  // namespace
}  // namespace stddb
