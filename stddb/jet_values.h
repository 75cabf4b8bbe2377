#pragma once

#include <cstddef>
#include <vector>

// libmdb's header after the C++ headers: included first, the standard library's templates it pulls in end
// up inside its C linkage block.
#include <mdbtools.h>

#include "common/result.h"
#include "stddb/database.h"

// The values of a row that libmdb has cracked, for the Jet database.
namespace stddb::jet {

// Where a row lies: the page buffer that holds it, the page's size and the row's bounds in it.
struct RowBytes {
    const unsigned char* page = nullptr;
    std::size_t pageSize = 0;
    std::size_t start = 0;
    std::size_t size = 0;
    bool jet4 = true;
};

// Decodes one field of the row into out: numbers by their stored bytes, Jet 4 text in place (most of a
// table's reading), Jet 3 text as code page 932, memo text from the column's bound buffer. Fails for a value
// that lies outside its row or is too short for its type.
tiermark::Result<void> decodeField(const MdbColumn& column, const MdbField& field, const RowBytes& row,
                                   const std::vector<char>& memo, Value& out);

}  // namespace stddb::jet
