#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "stddb/database.h"

namespace builder {

// A field value read as a number: integers and doubles as they are, text when it reads as a decimal number
// (full stop as decimal point), Null and anything else as nothing.
std::optional<double> valueNumber(const stddb::Value& value);

// A field value as a whole number, rounded half away from zero; nothing when it is no number or out of range.
std::optional<std::int64_t> valueInteger(const stddb::Value& value);

// The decimal text of a whole number.
std::u16string integerText(std::int64_t value);

}  // namespace builder
