#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/result.h"
#include "stddb/jet_header.h"

// Page-level checks of a Jet file, made before the file is handed to libmdb, which trusts what it reads:
// the table definition chain, its column area and the usage map through which the data pages are found.
namespace stddb::jet {

// The pages of an open Jet file, decrypted when the database is encoded (a non-zero database key).
class PageFile {
public:
    // Takes ownership of file. fileSize must be a whole number of pages.
    PageFile(std::FILE* file, std::uint64_t fileSize, Header header);

    const Header& header() const { return m_header; }
    const Layout& layout() const { return layoutOf(m_header.version); }
    std::uint32_t pageCount() const { return m_pageCount; }
    // Reads page number page into out; false when it lies outside the file or cannot be read.
    bool read(std::uint32_t page, std::vector<std::uint8_t>& out) const;

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> m_file;
    Header m_header;
    std::uint32_t m_pageCount = 0;
};

// Checks the definition of the table whose definition starts on page tdefPage: the page chain, the
// counts, the column entries and names, and its usage map (map type, map pages). name is for messages.
tiermark::Result<void> checkTableDefinition(const PageFile& pages, std::uint32_t tdefPage,
                                            const std::string& name);

}  // namespace stddb::jet
