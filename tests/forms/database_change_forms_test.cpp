// The builder over a database file that is replaced, truncated or half-written while the program runs,
// read by the real Jet workspace; and a start-up whose file changes while its tables are read.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "stddb/jet_workspace.h"
#include "stddb/settings_store.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/sample_tables.h"
#include "tools/mdbwriter/mdb_writer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing_support::FakeProgram;
using testing_support::SampleTables;
using Texts = std::vector<std::u16string>;

const Texts kBuiltInStages = {u"測量", u"設計", u"施工", u"維持管理"};

// The sample tables with every construction kind named after the release, so that a list shows which
// release it was filled from.
std::vector<stddb::Table> release(const std::u16string& mark) {
    SampleTables sample;
    for (auto& row : sample.table(u"種別テーブル").rows) {
        row[0] = stddb::Value{mark + stddb::asText(row[0])};
    }
    return sample.tables;
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class BuilderOverAChangingFile : public ::testing::Test {
public:
    FakeProgram fake;
    stddb::JetWorkspace jet;
    fs::path folder;
    fs::path file;
    std::string releaseA;
    std::string releaseB;

    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("tiermark-dbchange-" + std::to_string(QCoreApplication::applicationPid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        file = folder / "Tiermark.MDB";
        for (auto [mark, bytes] : {std::pair{u"A:", &releaseA}, std::pair{u"B:", &releaseB}}) {
            ASSERT_TRUE(mdbwriter::writeJet4(release(mark), stddb::kConnectString.substr(5), file).ok());
            *bytes = bytesOf(file);
        }
        write(releaseA);
        ASSERT_TRUE(fake.settings.SaveSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath, path()).ok());
        fake.workspace.open = [this](const std::u16string& p) {
            return jet.OpenDatabase(p, false, false, stddb::kConnectString);
        };
        fake.startCad("a.dwg");
        fake.program->forms().form1().Form_Load();
    }
    void TearDown() override { fs::remove_all(folder); }

    std::u16string path() const { return file.u16string(); }
    // Each write a second later than the last, an hour ago: a copy keeps its source's time, and the two
    // releases here have the same size and header, so only the time tells them apart (and some file
    // systems keep whole seconds only).
    void write(const std::string& bytes) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        fs::last_write_time(file, m_start - 1h + std::chrono::seconds(++m_writes));
    }
    fs::file_time_type m_start = fs::file_time_type::clock::now();
    int m_writes = 0;
    builder::UserForm1& form() { return fake.program->forms().userForm1(); }
    // The builder shown afresh (each showing may tell of an unreadable file once).
    void show() {
        form().hide();
        fake.program->forms().ShowBuilder();
        form().UserForm_Activate();
    }
};

TEST_F(BuilderOverAChangingFile, ANewReleaseIsReadWhenTheBuilderBecomesActiveAgain) {
    show();
    ASSERT_EQ(form().ListBox2->itemText(0), u"A:道路");
    form().ListBox2->setListIndex(2);
    form().ListBox3->setListIndex(4);
    ASSERT_EQ(form().ListBox4->items(), Texts{u"構造図"});

    write(releaseB);
    form().UserForm_Activate();
    EXPECT_EQ(form().ListBox2->itemText(0), u"B:道路");
    EXPECT_EQ(form().ListBox9->itemText(6), u"B:電気通信");
    form().ListBox2->setListIndex(2);
    form().ListBox3->setListIndex(4);
    form().ListBox4->setListIndex(0);
    EXPECT_EQ(form().ListBox6->items(), Texts{u"構造物-STR"});
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(BuilderOverAChangingFile, AFileThatCannotBeReadIsNamedOncePerShowingAndTheBuilderFallsBack) {
    struct Case {
        const char* name;
        std::function<void(BuilderOverAChangingFile&)> damage;
    };
    const Case cases[] = {
        {"truncated mid-page", [](auto& t) { fs::resize_file(t.file, t.releaseA.size() / 2 + 10); }},
        {"truncated to whole pages", [](auto& t) { fs::resize_file(t.file, 4 * 4096); }},
        {"half-copied",
         [](auto& t) {
             std::string half = t.releaseB;
             std::fill(half.begin() + static_cast<std::ptrdiff_t>(half.size() / 2), half.end(), '\0');
             t.write(half);
         }},
        {"garbage", [](auto& t) { t.write(std::string(16 * 4096, '\x33')); }},
        {"removed (a share offline)",
         [](auto& t) {
             // Windows keeps a file that is open from being removed: the share going away is like
             // it then.
             std::error_code refused;
             if (!fs::remove(t.file, refused)) {
                 fs::resize_file(t.file, 0);
             }
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(releaseA);
        show();
        ASSERT_EQ(form().ListBox2->itemText(0), u"A:道路");
        fake.dialogs.messages.clear();
        fake.dialogs.modalForms.clear();

        c.damage(*this);
        form().UserForm_Activate();
        ASSERT_EQ(fake.dialogs.messages.size(), 1u);
        const std::u16string told = fake.dialogs.texts().front();
        EXPECT_NE(told.find(u"データベースファイル「" + path() + u"」"), std::u16string::npos);
        EXPECT_EQ(form().ListBox1->items(), kBuiltInStages);
        EXPECT_EQ(fake.dialogs.modalForms, std::vector<QString>{"UserForm3"});
        // No list shows rows of the damaged file; the kinds read before stay as they were.
        for (int i = 0; i < form().ListBox2->listCount(); ++i) {
            EXPECT_EQ(form().ListBox2->itemText(i).substr(0, 2), u"A:");
        }
        form().UserForm_Activate();  // the message box handed the activation back
        EXPECT_EQ(fake.dialogs.messages.size(), 1u);

        write(releaseB);  // the copy completed
        form().UserForm_Activate();
        EXPECT_EQ(form().ListBox2->itemText(0), u"B:道路");
        EXPECT_EQ(fake.dialogs.messages.size(), 1u);
    }
}

// A database whose file is reported changed by the first `changes` checks.
class ChangingDatabase final : public stddb::Database {
public:
    ChangingDatabase(std::unique_ptr<stddb::Database> inner, int& changes)
        : m_inner(std::move(inner)), m_changes(changes) {}
    tiermark::Result<std::unique_ptr<stddb::Recordset>> OpenRecordset(std::u16string_view table) override {
        return m_inner->OpenRecordset(table);
    }
    tiermark::Result<void> CheckUnchanged() override {
        if (m_changes > 0) {
            --m_changes;
            return tiermark::makeError("the database file changed while it was being read");
        }
        return {};
    }

private:
    std::unique_ptr<stddb::Database> m_inner;
    int& m_changes;
};

TEST(BuilderStartUp, AFileThatChangesWhileItIsReadIsReadAgainOrRefusedNamingIt) {
    for (int changes : {1, 2}) {
        SCOPED_TRACE(changes);
        FakeProgram fake;
        SampleTables sample;
        int left = changes;
        ASSERT_TRUE(
            fake.settings.SaveSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath, u"x.mdb").ok());
        fake.workspace.open =
            [&](const std::u16string&) -> tiermark::Result<std::unique_ptr<stddb::Database>> {
            return std::unique_ptr<stddb::Database>(std::make_unique<ChangingDatabase>(sample.open(), left));
        };
        builder::UserForm1& form = fake.program->forms().userForm1();
        form.UserForm_Activate();
        EXPECT_EQ(fake.workspace.openedPaths.size(), 2u);
        if (changes == 1) {
            EXPECT_TRUE(fake.dialogs.messages.empty());
            EXPECT_EQ(form.ListBox7->text(), u"A1");
            EXPECT_TRUE(fake.dialogs.modalForms.empty());
        } else {
            ASSERT_EQ(fake.dialogs.texts().size(), 1u);
            EXPECT_EQ(fake.dialogs.texts().front(),
                      u"データベースファイル「x.mdb」は読み込みの間に書き換えられました。\r"
                      u"新しいデータベースのコピーが終わってから、もう一度開いてください。");
            EXPECT_EQ(form.ListBox1->items(), kBuiltInStages);
        }
    }
}

}  // namespace
