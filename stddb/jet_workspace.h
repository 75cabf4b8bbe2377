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
// Opening reads the catalog only; a table is read whole on its first OpenRecordset (or Preload, after which
// the database closes the file). The files are only ever read: exclusive and readOnly are accepted and
// ignored.
//
// A file replaced underneath (a new release copied over it, truncated, half-written) never gives rows of
// two states of it: the file is stamped (size, time written, header page) when it is opened, and a table
// read from it is kept only when the stamp is still the same after the read; otherwise the read fails and
// the next open reads the new file afresh. An open of a file whose stamp is the one of the previous open
// takes the tables that open read instead of reading them again, unless the file had been written less
// than two seconds before (it may still be being copied).
//
// A path whose file name differs from the file's only in ASCII case opens that file (as on Windows).
//
// Text: Jet 4 text (UCS-2, "compressed" or not) is decoded here; Jet 3 values are read as code page 932
// with cadlink's converter, and Jet 3 table and field names are converted by libmdb, for which
// MDB_JET3_CHARSET is set to CP932 unless the environment already names a character set.
namespace jet {
struct Snapshot;
}  // namespace jet

class JetWorkspace : public Workspace {
public:
    JetWorkspace();
    ~JetWorkspace() override;
    JetWorkspace(const JetWorkspace&) = delete;
    JetWorkspace& operator=(const JetWorkspace&) = delete;

    tiermark::Result<std::unique_ptr<Database>> OpenDatabase(const std::u16string& path, bool exclusive,
                                                             bool readOnly,
                                                             std::u16string_view connect) override;

private:
    // The tables of the file last opened, as that state of it gave them.
    std::shared_ptr<jet::Snapshot> m_last;
};

}  // namespace stddb
