#include "stddb/jet_values.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "common/codepage.h"
#include "common/utf.h"
#include "stddb/jet_text.h"

namespace stddb::jet {
namespace {

// The fixed-size value at the start of the bytes; nothing when they are too few.
template <typename T>
std::optional<T> load(const unsigned char* at, std::size_t size) {
    if (size < sizeof(T)) {
        return std::nullopt;
    }
    T value;
    std::memcpy(&value, at, sizeof(T));
    return value;
}

template <typename T, typename As>
tiermark::Result<void> store(std::optional<T> loaded, Value& out, As convert) {
    if (!loaded) {
        return tiermark::makeError("value too short for its type");
    }
    out = Value{convert(*loaded)};
    return {};
}

bool insideRow(const MdbField& field, const RowBytes& row) {
    if (field.siz < 0 || field.start < 0) {
        return false;
    }
    const auto start = static_cast<std::size_t>(field.start);
    const auto end = start + static_cast<std::size_t>(field.siz);
    return start >= row.start && end <= row.start + row.size && end <= row.pageSize;
}

}  // namespace

tiermark::Result<void> decodeField(const MdbColumn& column, const MdbField& field, const RowBytes& row,
                                   const std::vector<char>& memo, Value& out) {
    if (column.col_type == MDB_BOOL) {
        out = Value{std::int64_t{field.is_null ? 0 : -1}};
        return {};
    }
    if (field.is_null) {
        out = Value{};
        return {};
    }
    if (!insideRow(field, row)) {
        return tiermark::makeError("value lies outside its row");
    }
    const unsigned char* at = row.page + field.start;
    const auto size = static_cast<std::size_t>(field.siz);
    auto integer = [](auto v) { return std::int64_t{v}; };
    auto real = [](auto v) { return static_cast<double>(v); };
    switch (column.col_type) {
        case MDB_BYTE:
            return store(load<std::uint8_t>(at, size), out, integer);
        case MDB_INT:
            return store(load<std::int16_t>(at, size), out, integer);
        case MDB_LONGINT:
            return store(load<std::int32_t>(at, size), out, integer);
        case MDB_MONEY:
            return store(load<std::int64_t>(at, size), out,
                         [](std::int64_t v) { return static_cast<double>(v) / 10000.0; });
        case MDB_FLOAT:
            return store(load<float>(at, size), out, real);
        case MDB_DOUBLE:
        case MDB_DATETIME:
            return store(load<double>(at, size), out, real);
        case MDB_TEXT:
            if (row.jet4) {
                return decodeJet4TextInto({at, size}, out.emplace<std::u16string>());
            }
            out = Value{tiermark::fromCp932Lenient(std::string(reinterpret_cast<const char*>(at), size))};
            return {};
        case MDB_MEMO:
            out = Value{tiermark::fromUtf8(std::string(memo.data(), strnlen(memo.data(), memo.size())))};
            return {};
        default:
            out = Value{};  // binary, OLE, GUID and scaled decimals are not read
            return {};
    }
}

}  // namespace stddb::jet
