#pragma once

#include "common/ascii.h"

namespace stddb {

// Equality as the database engine compares names and text keys: ASCII letters match whatever their case;
// every other character (kana, kanji, full-width letters) must be the same.
using tiermark::equalsIgnoringAsciiCase;

}  // namespace stddb
