#pragma once

#include <string>
#include <string_view>

namespace stddb {

// The value of the "pwd" item of a connect string such as ";pwd=947215036382" (the key compared ignoring
// ASCII case, items separated by ";"), or empty text when there is none.
std::u16string passwordFromConnect(std::u16string_view connect);

}  // namespace stddb
