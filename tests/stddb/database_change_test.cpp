// A database file that an administrator replaces while the program has it open: copied over, replaced by a
// rename, truncated, half-written or replaced by garbage between two reads of one workspace.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>

#include "common/utf.h"
#include "fixtures.h"
#include "stddb/jet_stamp.h"
#include "stddb/jet_workspace.h"

namespace stddb {
namespace {

using namespace stddb::testing;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

// One release of the database: every row says which release it belongs to. Releases of the same width
// (number of rows and text lengths) give files of the same size.
std::vector<Table> release(const char16_t* mark, int layerRows = 300) {
    Table kinds{u"種別テーブル", {text(u"名称", 20)}, {}};
    Table layers{u"レイヤーテーブル", {longint(u"工種ID"), text(u"図面名", 20), text(u"内容", 40)}, {}};
    for (int i = 0; i < 7; ++i) {
        kinds.rows.push_back({v(mark)});
    }
    for (int i = 0; i < layerRows; ++i) {
        layers.rows.push_back({v(19 + i % 3), v(u"一般図"), v(mark)});
    }
    return {kinds, layers};
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void overwrite(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

void age(const fs::path& file, fs::file_time_type::duration by = 1h) {
    fs::last_write_time(file, fs::file_time_type::clock::now() - by);
}

// Every "内容" of the table; the marks of one release, or the reason the table could not be read.
tiermark::Result<std::vector<std::u16string>> marks(Database& db, std::u16string_view table,
                                                    std::u16string_view field) {
    auto rows = db.OpenRecordset(table);
    if (!rows) {
        return rows.error();
    }
    std::vector<std::u16string> found;
    for (; !(*rows)->Eof(); (void)(*rows)->MoveNext()) {
        found.push_back(asText((*rows)->Field(field).value()));
    }
    return found;
}

// Puts the bytes in place of the file by a rename, as a careful administrator does. Windows refuses to
// replace or remove a file that is open; the copy over it stands in then.
void renameOver(const fs::path& file, const std::string& bytes) {
    const fs::path staged = file.parent_path() / "staged.mdb";
    overwrite(staged, bytes);
    std::error_code refused;
    fs::rename(staged, file, refused);
    if (refused) {
        overwrite(file, bytes);
        fs::remove(staged, refused);
    }
}

void removeOrEmpty(const fs::path& file) {
    std::error_code refused;
    if (!fs::remove(file, refused)) {
        overwrite(file, "");
    }
}

bool allAre(const std::vector<std::u16string>& values, std::u16string_view mark) {
    return !values.empty() &&
           std::all_of(values.begin(), values.end(), [&](const auto& value) { return value == mark; });
}

class DatabaseChange : public ::testing::Test {
public:
    TempFolder folder;
    JetWorkspace workspace;
    fs::path file;
    std::string releaseB;
    std::string releaseBSameSize;

    void SetUp() override {
        releaseB = bytesOf(folder.write("b.mdb", release(u"B", 600)));
        releaseBSameSize = bytesOf(folder.write("b2.mdb", release(u"B")));
        file = folder.write("Tiermark.MDB", release(u"A"));
        ASSERT_EQ(releaseBSameSize.size(), fs::file_size(file));
        ASSERT_NE(releaseB.size(), fs::file_size(file));
    }

    std::unique_ptr<Database> open() {
        auto db = workspace.OpenDatabase(u16path(file), false, false, kConnectString);
        EXPECT_TRUE(db.ok()) << (db.ok() ? "" : db.error().message);
        return db.ok() ? std::move(db.value()) : nullptr;
    }
};

TEST_F(DatabaseChange, AnUnchangedFileIsOpenedAgainWithTheTablesReadBefore) {
    age(file);
    const fs::file_time_type written = fs::last_write_time(file);
    auto first = open();
    ASSERT_TRUE(allAre(marks(*first, u"レイヤーテーブル", u"内容").value(), u"A"));
    // The same size, time and header: taken for the same file, so its tables are not read again. (Only a
    // writer that puts the old time back could make a change look like this.)
    overwrite(file, releaseBSameSize);
    fs::last_write_time(file, written);
    auto second = open();
    EXPECT_TRUE(allAre(marks(*second, u"レイヤーテーブル", u"内容").value(), u"A"));
    // A table the first open never read comes from the file as it is now.
    EXPECT_TRUE(allAre(marks(*second, u"種別テーブル", u"名称").value(), u"B"));
}

TEST_F(DatabaseChange, AFileWrittenJustNowIsReadAgainOnTheNextOpen) {
    const fs::file_time_type written = fs::file_time_type::clock::now();
    fs::last_write_time(file, written);
    auto first = open();
    ASSERT_TRUE(allAre(marks(*first, u"レイヤーテーブル", u"内容").value(), u"A"));
    overwrite(file, releaseBSameSize);
    fs::last_write_time(file, written);  // the copy is still going on: nothing read so far is trusted
    auto second = open();
    EXPECT_TRUE(allAre(marks(*second, u"レイヤーテーブル", u"内容").value(), u"B"));
}

TEST_F(DatabaseChange, ANewReleaseIsOpenedCleanlyHoweverItReplacedTheOldOne) {
    struct Case {
        const char* name;
        std::function<void(DatabaseChange&)> replace;
    };
    const Case cases[] = {
        {"copied over the old file", [](DatabaseChange& t) { overwrite(t.file, t.releaseB); }},
        {"copied over, the same size, a later time",
         [](DatabaseChange& t) {
             overwrite(t.file, t.releaseBSameSize);
             age(t.file, 10min);
         }},
        {"renamed over the old file", [](DatabaseChange& t) { renameOver(t.file, t.releaseB); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        overwrite(file, bytesOf(folder.write("a.mdb", release(u"A"))));
        age(file);
        auto before = open();
        ASSERT_TRUE(allAre(marks(*before, u"レイヤーテーブル", u"内容").value(), u"A"));
        c.replace(*this);
        auto after = open();
        ASSERT_NE(after, nullptr);
        EXPECT_TRUE(allAre(marks(*after, u"レイヤーテーブル", u"内容").value(), u"B"));
        EXPECT_TRUE(allAre(marks(*after, u"種別テーブル", u"名称").value(), u"B"));
        EXPECT_TRUE(after->CheckUnchanged().ok());
    }
}

// What happens to the file between two reads of one open database, and whether the open after it reads
// (the new file) or is refused.
struct Underneath {
    const char* name;
    std::function<void(DatabaseChange&)> change;
    bool reopens;
};

const Underneath kChanges[] = {
    {"copied over", [](DatabaseChange& t) { overwrite(t.file, t.releaseB); }, true},
    {"renamed over", [](DatabaseChange& t) { renameOver(t.file, t.releaseB); }, true},
    {"truncated mid-page",
     [](DatabaseChange& t) { fs::resize_file(t.file, fs::file_size(t.file) / 2 + 100); }, false},
    {"truncated to whole pages", [](DatabaseChange& t) { fs::resize_file(t.file, 3 * 4096); }, false},
    {"half-copied (the rest still zeros)",
     [](DatabaseChange& t) {
         std::string half = t.releaseB;
         std::fill(half.begin() + static_cast<std::ptrdiff_t>(half.size() / 2), half.end(), '\0');
         overwrite(t.file, half);
     },
     false},
    {"garbage", [](DatabaseChange& t) { overwrite(t.file, std::string(8 * 4096, '\x5a')); }, false},
    {"emptied", [](DatabaseChange& t) { overwrite(t.file, ""); }, false},
    {"removed", [](DatabaseChange& t) { removeOrEmpty(t.file); }, false},
};

TEST_F(DatabaseChange, ATableReadAfterTheFileChangedIsRefusedNeverMixed) {
    for (const Underneath& c : kChanges) {
        SCOPED_TRACE(c.name);
        overwrite(file, bytesOf(folder.write("a.mdb", release(u"A"))));
        age(file);
        auto db = open();
        ASSERT_TRUE(allAre(marks(*db, u"種別テーブル", u"名称").value(), u"A"));
        c.change(*this);
        // The layer table was not read before the change: it is neither the new release's rows nor a
        // mixture of pages, and the database says it no longer matches its file.
        auto layers = marks(*db, u"レイヤーテーブル", u"内容");
        EXPECT_FALSE(layers.ok());
        EXPECT_FALSE(db->CheckUnchanged().ok());
        // What was read before the change stays as it was read.
        auto kinds = marks(*db, u"種別テーブル", u"名称");
        ASSERT_TRUE(kinds.ok());
        EXPECT_TRUE(allAre(*kinds, u"A"));
    }
}

TEST_F(DatabaseChange, TablesReadAheadStayOneReleaseAndTheNextOpenSeesTheChange) {
    for (const Underneath& c : kChanges) {
        SCOPED_TRACE(c.name);
        overwrite(file, bytesOf(folder.write("a.mdb", release(u"A"))));
        age(file);
        auto db = open();
        ASSERT_TRUE(
            db->Preload({{u"種別テーブル", {}}, {u"レイヤーテーブル", {{u"工種ID", u"図面名"}}}}).ok());
        c.change(*this);
        EXPECT_TRUE(allAre(marks(*db, u"レイヤーテーブル", u"内容").value(), u"A"));
        EXPECT_FALSE(db->CheckUnchanged().ok());

        auto reopened = workspace.OpenDatabase(u16path(file), false, false, kConnectString);
        if (c.reopens) {
            ASSERT_TRUE(reopened.ok()) << reopened.error().message;
            EXPECT_TRUE(allAre(marks(**reopened, u"レイヤーテーブル", u"内容").value(), u"B"));
            continue;
        }
        // A file that cannot be read now: refused with its path, or (a file whose pages libmdb reads as
        // zeros) its tables refused, never the old release's tables passed off as the file's.
        if (!reopened.ok()) {
            EXPECT_NE(reopened.error().message.find(file.string()), std::string::npos)
                << reopened.error().message;
            continue;
        }
        auto layers = marks(**reopened, u"レイヤーテーブル", u"内容");
        EXPECT_FALSE(layers.ok() && allAre(*layers, u"A"));
    }
}

TEST_F(DatabaseChange, ADatabaseReadAheadLetsGoOfItsFile) {
    age(file);
    auto db = open();
    ASSERT_TRUE(db->Preload({{u"レイヤーテーブル", {}}, {u"無いテーブル", {}}}).ok());
    // The file is no longer read: a table outside the plan cannot be opened, the planned one still can,
    // and the file can be replaced (where the system refuses to replace an open file, too).
    EXPECT_FALSE(db->OpenRecordset(u"種別テーブル").ok());
    renameOver(file, releaseB);
    EXPECT_TRUE(allAre(marks(*db, u"レイヤーテーブル", u"内容").value(), u"A"));
    EXPECT_TRUE(allAre(marks(*open(), u"レイヤーテーブル", u"内容").value(), u"B"));
}

TEST(FileStamp, TellsStatesOfAFileApartAndWhenItHasSettled) {
    TempFolder folder;
    const fs::path file = folder.write("Tiermark.MDB", release(u"A"));
    const auto now = fs::file_time_type::clock::now();
    fs::last_write_time(file, now - 1h);
    const jet::FileStamp before = jet::readFileStamp(file).value();
    EXPECT_EQ(before.size, fs::file_size(file));
    EXPECT_EQ(before.header.size(), jet::readFileStamp(file)->header.size());
    EXPECT_TRUE(before == jet::readFileStamp(file).value());

    std::string bytes = bytesOf(file);
    bytes[0x80] = static_cast<char>(bytes[0x80] ^ 0x01);  // a header field, same size
    overwrite(file, bytes);
    fs::last_write_time(file, now - 1h);
    EXPECT_FALSE(before == jet::readFileStamp(file).value());

    struct Case {
        fs::file_time_type::duration age;
        bool settled;
    };
    for (const Case& c :
         {Case{-1s, false}, Case{0s, false}, Case{1500ms, false}, Case{2s, true}, Case{1h, true}}) {
        jet::FileStamp stamp = before;
        stamp.modified = now - c.age;
        EXPECT_EQ(jet::settled(stamp, now), c.settled) << std::chrono::duration<double>(c.age).count();
    }
    fs::remove(file);
    EXPECT_FALSE(jet::readFileStamp(file).ok());
}

}  // namespace
}  // namespace stddb
