#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "common/result.h"

namespace stddb::jet {

// Decodes a Jet 4 text value: UCS-2 little endian, or "compressed" when it starts with the bytes FF FE
// (then runs of one byte per character below U+0100 and of two-byte units, switched by a 00 byte). A unit
// that is half of no surrogate pair becomes U+FFFD: the file is not trusted to hold valid UTF-16.
tiermark::Result<std::u16string> decodeJet4Text(std::span<const std::uint8_t> bytes);
// The same into out, which it replaces (a table's reading decodes every value in place).
tiermark::Result<void> decodeJet4TextInto(std::span<const std::uint8_t> bytes, std::u16string& out);

}  // namespace stddb::jet
