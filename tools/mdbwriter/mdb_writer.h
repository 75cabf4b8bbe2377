#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "stddb/database.h"

// A writer of Access 2000 (Jet 4) database files: Text (up to 255 characters), Integer, Long and Double
// columns, Null, Japanese names and values, any number of rows over as many pages as needed, and a
// database password in the header. No indexes, queries or relationships. See FORMAT.md.
namespace mdbwriter {

// The creation date written into the header (2007-09-01 as days since 1899-12-30), fixed so that the
// same input always gives the same file.
inline constexpr double kCreationDate = 39326.0;

// The bytes of a Jet 4 file holding tables in the given order. Fails for what the format or this writer
// cannot hold: a Memo column, a text longer than its column, a value of the wrong type, a row too large
// for a page, a password longer than 20 characters, characters outside the Basic Multilingual Plane.
tiermark::Result<std::vector<std::uint8_t>> buildJet4(const std::vector<stddb::Table>& tables,
                                                      std::u16string_view password);

// Builds the file and writes it to path (replacing it).
tiermark::Result<void> writeJet4(const std::vector<stddb::Table>& tables, std::u16string_view password,
                                 const std::filesystem::path& path);

}  // namespace mdbwriter
