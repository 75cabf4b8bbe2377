#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "common/result.h"

// The database definition page (page 0) of a Jet file: signature, version, the masked area with the code
// page, encoding key and database password, and the page geometry of each version.
namespace stddb::jet {

enum class Version { Jet3, Jet4 };

// Offsets of the table definition and data pages that differ between the versions.
struct Layout {
    std::size_t pageSize;
    std::size_t rowCountOffset;     // data page: row count, then the row offsets
    std::size_t tdefRowsOffset;     // table definition: row count
    std::size_t tdefColumnsOffset;  // table definition: column count (the variable-column count just before)
    std::size_t tdefIndexesOffset;
    std::size_t tdefRealIndexesOffset;
    std::size_t tdefUsageMapOffset;
    std::size_t tdefColumnsStart;  // first column entry, after the real-index entries
    std::size_t realIndexEntrySize;
    std::size_t columnEntrySize;
    std::size_t headerMaskLength;  // bytes masked from 0x18
    std::size_t passwordLength;    // bytes of the password at 0x42
};

const Layout& layoutOf(Version version);

inline constexpr std::size_t kMaskStart = 0x18;
inline constexpr std::size_t kVersionOffset = 0x14;
inline constexpr std::size_t kCodePageOffset = 0x3C;
inline constexpr std::size_t kDatabaseKeyOffset = 0x3E;
inline constexpr std::size_t kPasswordOffset = 0x42;
inline constexpr std::size_t kSortOrderOffset = 0x6E;
inline constexpr std::size_t kCreationDateOffset = 0x72;
// Bytes of page 0 that parseHeader needs (the Jet 4 masked area ends at 0x98).
inline constexpr std::size_t kHeaderBytes = kMaskStart + 128;

// RC4 over data with the given key (encryption and decryption are the same operation).
void rc4(std::span<const std::uint8_t> key, std::span<std::uint8_t> data);

// Applies (or removes: the mask is its own inverse) the RC4 mask of the header area of page 0.
void maskHeader(std::span<std::uint8_t> page, Version version);

// The four bytes with which Jet 4 additionally masks the password: the creation date's whole days as a
// 32-bit little-endian integer.
std::array<std::uint8_t, 4> passwordDateMask(double creationDate);

struct Header {
    Version version = Version::Jet4;
    std::uint32_t databaseKey = 0;  // 0: pages are stored in clear
    std::uint16_t codePage = 0;
    double creationDate = 0.0;
    std::u16string password;  // empty: the file has no database password
};

// Reads page 0 (at least kHeaderBytes of it, as stored in the file). Fails for a file that is not a Jet
// database: an Access 2007+ (.accdb) signature, any other signature, or an unknown version.
tiermark::Result<Header> parseHeader(std::span<const std::uint8_t> page0);

}  // namespace stddb::jet
