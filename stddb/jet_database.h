#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "common/result.h"
#include "stddb/database.h"
#include "stddb/jet_stamp.h"

// The database of one open Jet file, for JetWorkspace.
namespace stddb::jet {

// The tables read from one state of a database file. The databases opened while the file keeps its stamp
// share them: a table is read from the file once per state, whichever database reads it first.
struct Snapshot {
    std::filesystem::path file;
    FileStamp stamp;
    // Whether a later open may take these tables: the file had settled when it was stamped, and no read
    // saw it change since.
    bool reusable = false;
    std::map<std::u16string, std::shared_ptr<const Table>> tables;  // by tableKey of the catalog's name
};

// A table's name as the snapshot files it: ASCII letters in lower case, as the engine ignores their case.
std::u16string tableKey(std::u16string_view name);

// Opens the file (found already; shown names it in messages) with libmdb after checking what libmdb does
// not: its signature, that it is a whole number of pages, its catalog's definition and the password of the
// connect string. Its tables are read through the snapshot: taken from it when read before, and each table
// read from the file is checked against the snapshot's stamp before it is kept.
tiermark::Result<std::unique_ptr<Database>> openFile(const std::filesystem::path& file,
                                                     const std::string& shown, std::u16string_view connect,
                                                     std::shared_ptr<Snapshot> snapshot);

}  // namespace stddb::jet
