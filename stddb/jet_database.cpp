#include "stddb/jet_database.h"

#include <mdbtools.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <numeric>

#include "common/ascii.h"
#include "common/environment.h"
#include "common/paths.h"
#include "common/utf.h"
#include "stddb/connect_string.h"
#include "stddb/jet_header.h"
#include "stddb/jet_pages.h"
#include "stddb/jet_values.h"
#include "stddb/table_index.h"
#include "stddb/text_compare.h"

namespace stddb {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kOffsetMask = 0x1FFF;
constexpr std::size_t kMaxRows = 10'000'000;

struct HandleCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
using HandlePtr = std::unique_ptr<MdbHandle, HandleCloser>;

struct TableFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using TablePtr = std::unique_ptr<MdbTableDef, TableFreer>;

// GPtrArray's element macro is a C cast; this is the same access without one.
template <typename T>
T* element(GPtrArray* array, guint index) {
    return static_cast<T*>(array->pdata[index]);
}

tiermark::Error damaged(const std::string& table, const std::string& what) {
    return tiermark::makeError("the database file is damaged: table " + table + ": " + what);
}

ColumnType columnTypeOf(int mdbType) {
    switch (mdbType) {
        case MDB_BOOL:
        case MDB_BYTE:
        case MDB_INT:
            return ColumnType::Integer;
        case MDB_LONGINT:
            return ColumnType::Long;
        case MDB_MONEY:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_DATETIME:
            return ColumnType::Double;
        case MDB_MEMO:
            return ColumnType::Memo;
        default:
            return ColumnType::Text;
    }
}

class JetDatabase : public Database {
public:
    JetDatabase(HandlePtr mdb, std::unique_ptr<jet::PageFile> pages, std::shared_ptr<jet::Snapshot> snapshot)
        : m_mdb(std::move(mdb)), m_pages(std::move(pages)), m_snapshot(std::move(snapshot)) {}

    tiermark::Result<std::unique_ptr<Recordset>> OpenRecordset(std::u16string_view name) override {
        auto table = tableNamed(name, {});
        if (!table) {
            return table.error();
        }
        std::vector<std::size_t> rows((*table)->rows.size());
        std::iota(rows.begin(), rows.end(), std::size_t{0});
        return std::make_unique<Recordset>(std::move(table.value()), std::move(rows));
    }

    tiermark::Result<void> Preload(const std::vector<TablePlan>& plans) override {
        for (const TablePlan& plan : plans) {
            if (!m_snapshot->tables.contains(jet::tableKey(plan.table)) &&
                (!m_mdb || findTable(plan.table) == nullptr)) {
                continue;
            }
            if (auto table = tableNamed(plan.table, plan.indexes); !table) {
                return table.error();
            }
        }
        if (auto unchanged = unchangedSinceOpen(); !unchanged) {
            return unchanged;
        }
        // Everything planned is read: the file is let go, so that it can be replaced while the program runs
        // (Windows refuses to write, rename or remove a file another program holds open).
        m_mdb.reset();
        m_pages.reset();
        return {};
    }

    tiermark::Result<void> CheckUnchanged() override { return unchangedSinceOpen(); }

private:
    MdbCatalogEntry* findTable(std::u16string_view name) const {
        GPtrArray* catalog = m_mdb->catalog;
        for (guint i = 0; catalog != nullptr && i < catalog->len; ++i) {
            auto* entry = element<MdbCatalogEntry>(catalog, i);
            if (entry->object_type == MDB_TABLE &&
                equalsIgnoringAsciiCase(tiermark::fromUtf8(entry->object_name), name)) {
                return entry;
            }
        }
        return nullptr;
    }

    // The named table: as read before from this state of the file, or read now (and then indexed by the sets
    // of fields given), provided the file did not change since the database was opened.
    tiermark::Result<std::shared_ptr<const Table>> tableNamed(
        std::u16string_view name, const std::vector<std::vector<std::u16string>>& indexes) {
        const std::u16string key = jet::tableKey(name);
        auto& tables = m_snapshot->tables;
        auto cached = tables.find(key);
        if (cached != tables.end() && (indexes.empty() || indexesPresent(*cached->second, indexes))) {
            return cached->second;
        }
        if (!m_mdb) {
            return tiermark::makeError(
                "the database file was let go once the tables planned were read; table " +
                tiermark::toUtf8(name) + " was not among them");
        }
        MdbCatalogEntry* entry = findTable(name);
        if (entry == nullptr) {
            return tiermark::makeError("the database has no table named " + tiermark::toUtf8(name));
        }
        auto table = cached != tables.end() ? std::make_shared<Table>(*cached->second) : nullptr;
        if (!table) {
            auto read = readTable(*entry);
            if (!read) {
                return read.error();
            }
            table = std::move(read.value());
        }
        for (const auto& fields : indexes) {
            (void)addIndexes(*table, {fields});  // an index over a missing field: its query reports it
        }
        if (auto unchanged = unchangedSinceOpen(); !unchanged) {
            return unchanged.error();
        }
        return tables[key] = std::move(table);
    }

    static bool indexesPresent(const Table& table, const std::vector<std::vector<std::u16string>>& indexes) {
        for (const auto& fields : indexes) {
            std::vector<FilterTerm> probe;
            for (const auto& field : fields) {
                probe.push_back(FilterTerm{field, false, 0.0, {}});
            }
            if (indexCovering(table, probe) == nullptr) {
                return false;
            }
        }
        return true;
    }

    // Fails when the file is no longer as it was when the database was opened: rows read since may belong to
    // another release of it. The tables read before stay (they are of the one state), but no later open
    // takes them.
    tiermark::Result<void> unchangedSinceOpen() {
        auto now = jet::readFileStamp(m_snapshot->file);
        if (now && *now == m_snapshot->stamp) {
            return {};
        }
        m_snapshot->reusable = false;
        return tiermark::makeError("the database file changed while it was being read: " +
                                   tiermark::toUtf8(m_snapshot->file.u16string()));
    }

    tiermark::Result<std::shared_ptr<Table>> readTable(MdbCatalogEntry& entry) {
        const std::string name = entry.object_name;
        if (entry.table_pg > UINT32_MAX) {
            return damaged(name, "bad definition page");
        }
        if (auto checked =
                jet::checkTableDefinition(*m_pages, static_cast<std::uint32_t>(entry.table_pg), name);
            !checked) {
            return checked.error();
        }
        TablePtr def(mdb_read_table(&entry));
        if (!def || mdb_read_columns(def.get()) == nullptr || def->columns->len != def->num_cols) {
            return damaged(name, "its definition cannot be read");
        }
        MdbHandle* mdb = m_mdb.get();
        const bool jet4 = m_pages->header().version == jet::Version::Jet4;
        const std::size_t pageSize = m_pages->layout().pageSize;

        auto table = std::make_shared<Table>();
        table->name = tiermark::fromUtf8(name);
        const guint columnCount = def->num_cols;
        std::vector<MdbColumn*> columns(columnCount);
        std::vector<std::vector<char>> memoBuffers(columnCount);
        std::vector<int> memoLengths(columnCount, 0);
        for (guint i = 0; i < columnCount; ++i) {
            columns[i] = element<MdbColumn>(def->columns, i);
            table->columns.push_back(
                {tiermark::fromUtf8(columns[i]->name), columnTypeOf(columns[i]->col_type)});
            if (columns[i]->col_type == MDB_MEMO) {
                memoBuffers[i].assign(mdb->bind_size + 1, '\0');
                mdb_bind_column(def.get(), static_cast<int>(i) + 1, memoBuffers[i].data(), &memoLengths[i]);
            }
        }

        std::vector<MdbField> fields(columnCount == 0 ? 1 : columnCount);
        // Room for the rows the table records, within reason: a damaged file may record any number.
        table->rows.reserve(std::min<std::size_t>(def->num_rows, 65'536));
        mdb_rewind_table(def.get());
        while (mdb_fetch_row(def.get())) {
            if (table->rows.size() >= def->num_rows || table->rows.size() >= kMaxRows) {
                return damaged(name, "more rows than the table records");
            }
            int rowStart = 0;
            std::size_t rowSize = 0;
            if (def->cur_row == 0 ||
                mdb_find_row(mdb, static_cast<int>(def->cur_row) - 1, &rowStart, &rowSize) != 0) {
                return damaged(name, "a row cannot be found again");
            }
            rowStart = static_cast<int>(static_cast<std::size_t>(rowStart) & kOffsetMask);
            if (mdb_crack_row(def.get(), rowStart, rowSize, fields.data()) < 0) {
                return damaged(name, "a row cannot be decoded");
            }
            const jet::RowBytes rowBytes{mdb->pg_buf, pageSize, static_cast<std::size_t>(rowStart), rowSize,
                                         jet4};
            std::vector<Value> row(columnCount);
            for (guint i = 0; i < columnCount; ++i) {
                auto value = jet::decodeField(*columns[i], fields[i], rowBytes, memoBuffers[i], row[i]);
                if (!value) {
                    return damaged(name,
                                   "field " + std::string(columns[i]->name) + ": " + value.error().message);
                }
            }
            table->rows.push_back(std::move(row));
        }
        if (table->rows.size() != def->num_rows) {
            return damaged(name, std::to_string(table->rows.size()) + " rows read where the table records " +
                                     std::to_string(def->num_rows));
        }
        return table;
    }

    HandlePtr m_mdb;
    std::unique_ptr<jet::PageFile> m_pages;
    std::shared_ptr<jet::Snapshot> m_snapshot;
};

}  // namespace

namespace jet {

std::u16string tableKey(std::u16string_view name) {
    return tiermark::asciiLowercased(name);
}

tiermark::Result<std::unique_ptr<Database>> openFile(const std::filesystem::path& file,
                                                     const std::string& shown, std::u16string_view connect,
                                                     std::shared_ptr<Snapshot> snapshot) {
    std::error_code error;
    const auto narrow = tiermark::narrowFilePath(file);
    if (!narrow) {
        return tiermark::makeError("the database path cannot be used (" + narrow.error().message +
                                   "): " + shown);
    }
    const std::string& native = *narrow;
    std::FILE* handle = std::fopen(native.c_str(), "rb");
    if (handle == nullptr) {
        return tiermark::makeError("the database file cannot be read (" + std::string(std::strerror(errno)) +
                                   "): " + shown);
    }
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> owned(handle);
    const std::uintmax_t size = fs::file_size(file, error);
    if (error) {
        return tiermark::makeError("the database file cannot be read: " + shown);
    }
    if (size == 0) {
        return tiermark::makeError("the database file is empty: " + shown);
    }
    std::vector<std::uint8_t> page0(jet::kHeaderBytes);
    const std::size_t got = std::fread(page0.data(), 1, page0.size(), handle);
    page0.resize(got);
    auto header = jet::parseHeader(page0);
    if (!header) {
        return tiermark::makeError(header.error().message + ": " + shown);
    }
    const jet::Layout& layout = jet::layoutOf(header->version);
    if (size % layout.pageSize != 0 || size < 3 * layout.pageSize) {
        return tiermark::makeError(
            "the database file is truncated or damaged (not a whole number of pages): " + shown);
    }
    if (!header->password.empty() && passwordFromConnect(connect) != header->password) {
        return tiermark::makeError("not a valid password for the database file: " + shown);
    }

    auto pages = std::make_unique<jet::PageFile>(owned.release(), size, header.value());
    if (auto checked = jet::checkTableDefinition(*pages, 2, "MSysObjects"); !checked) {
        return tiermark::makeError(checked.error().message + ": " + shown);
    }
    if (header->version == jet::Version::Jet3) {
        // libmdb converts Jet 3 names with this character set (the header's code page is not trusted).
        tiermark::setEnvironmentDefault("MDB_JET3_CHARSET", "CP932");
    }
    HandlePtr mdb(mdb_open(native.c_str(), MDB_NOFLAGS));
    if (!mdb) {
        return tiermark::makeError("the database file cannot be opened: " + shown);
    }
    if (mdb_read_catalog(mdb.get(), MDB_TABLE) == nullptr) {
        return tiermark::makeError("the database catalog cannot be read: " + shown);
    }
    return std::unique_ptr<Database>(
        std::make_unique<JetDatabase>(std::move(mdb), std::move(pages), std::move(snapshot)));
}

}  // namespace jet

}  // namespace stddb
