#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace numbered {

// Whether an entry of the main window's layer list is a member of the family: longer than four
// characters, the four characters before its last one equal the element code, and the first four of its
// last nine (of the entry itself when shorter) equal the last four of "-" + object code. A member ends in
// the object code, the element code and one suffix character; what comes before does not matter.
bool isMember(std::u16string_view entry, std::u16string_view objectCode, std::u16string_view elementCode);

// The members among the entries, in list order (the form's list of existing members).
std::vector<std::u16string> scanMembers(const std::vector<std::u16string>& entries,
                                        std::u16string_view objectCode, std::u16string_view elementCode);

// What the last member's suffix makes of the next name tail the form proposes.
enum class ProposalKind {
    Next,       // tail = object code + element code + the next suffix
    Unchanged,  // the last suffix lies between "9" and "A" or is a single-byte character above "Z"
    Full,       // the last suffix is "Z": tail = object code + element code + "[", and the form closes
};

struct Proposal {
    ProposalKind kind = ProposalKind::Next;
    std::u16string tail;  // empty for Unchanged
};

// The suffix after c: "0".."8" the next digit, "9" "A", "A".."Y" the next letter; "Z" or a character that
// leaves the proposal unchanged gives nothing; anything else (blank, "-", other punctuation below "0", a
// double-byte character) starts again at "1".
Proposal proposeNameTail(const std::vector<std::u16string>& members, std::u16string_view objectCode,
                         std::u16string_view elementCode);

// Whether the form ever hands out this suffix: the proposals run from "1" to "9" and on from "A" to "Z",
// 35 members in all.
bool isOfferedSuffix(char16_t c);

inline constexpr std::u16string_view kFamilyFullTitle = u"レイヤー設定エラー";
inline constexpr std::u16string_view kFamilyFullMessage =
    u"既にレイヤー情報がいっぱいです。\r36項目以上の同一レイヤー上のセットは無効です。";

}  // namespace numbered
