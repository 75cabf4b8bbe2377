#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "stddb/database.h"

namespace stddb {

// The workspace over Access (Jet 3 and Jet 4) .mdb files, read with libmdb.
//
// Opening checks what libmdb does not: the file exists and is readable, carries the "Standard Jet DB"
// signature, is a whole number of pages, its catalog is sound, and its database password equals the
// connect string's ";pwd=" value (a file without a password opens whatever the connect string says).
// Opening reads the catalog only; a table is read whole on its first OpenRecordset and kept for the life
// of the database object. The files are only ever read: exclusive and readOnly are accepted and ignored.
//
// A path whose file name differs from the file's only in ASCII case opens that file (as on Windows).
//
// Text: Jet 4 text (UCS-2, "compressed" or not) is decoded here; Jet 3 values are read as code page 932
// with cadlink's converter, and Jet 3 table and field names are converted by libmdb, for which
// MDB_JET3_CHARSET is set to CP932 unless the environment already names a character set.
class JetWorkspace : public Workspace {
public:
    tiermark::Result<std::unique_ptr<Database>> OpenDatabase(const std::u16string& path, bool exclusive,
                                                             bool readOnly,
                                                             std::u16string_view connect) override;
};

}  // namespace stddb
