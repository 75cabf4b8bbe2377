#include "numbered/member_scan.h"

namespace numbered {

namespace {

std::u16string_view lastChars(std::u16string_view text, std::size_t count) {
    return count >= text.size() ? text : text.substr(text.size() - count);
}

std::u16string_view firstChars(std::u16string_view text, std::size_t count) {
    return text.substr(0, count);
}

// Characters the code page holds in one byte above "Z": the rest of ASCII and the half-width katakana.
bool isSingleByteAboveZ(char16_t c) {
    return (c > u'Z' && c <= 0x7F) || (c >= 0xFF61 && c <= 0xFF9F);
}

}  // namespace

bool isMember(std::u16string_view entry, std::u16string_view objectCode, std::u16string_view elementCode) {
    const std::size_t length = entry.size();
    if (length <= 4) {
        return false;
    }
    if (entry.substr(length - 5, 4) != elementCode) {
        return false;
    }
    // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) about u"-" + std::u16string.
    std::u16string dashed(1, u'-');
    dashed += objectCode;
    return firstChars(lastChars(entry, 9), 4) == lastChars(dashed, 4);
}

std::vector<std::u16string> scanMembers(const std::vector<std::u16string>& entries,
                                        std::u16string_view objectCode, std::u16string_view elementCode) {
    std::vector<std::u16string> members;
    for (const auto& entry : entries) {
        if (isMember(entry, objectCode, elementCode)) {
            members.push_back(entry);
        }
    }
    return members;
}

Proposal proposeNameTail(const std::vector<std::u16string>& members, std::u16string_view objectCode,
                         std::u16string_view elementCode) {
    const std::u16string stem = std::u16string(objectCode) + std::u16string(elementCode);
    if (members.empty() || members.back().empty()) {
        return {ProposalKind::Next, stem + u"1"};
    }
    // Only the last member in list order counts, not the highest suffix.
    const char16_t c = members.back().back();
    if ((c >= u'0' && c <= u'8') || (c >= u'A' && c <= u'Y')) {
        return {ProposalKind::Next, stem + static_cast<char16_t>(c + 1)};
    }
    if (c == u'9') {
        return {ProposalKind::Next, stem + u"A"};
    }
    if (c == u'Z') {
        return {ProposalKind::Full, stem + u"["};
    }
    if ((c > u'9' && c < u'A') || isSingleByteAboveZ(c)) {
        return {ProposalKind::Unchanged, {}};
    }
    return {ProposalKind::Next, stem + u"1"};
}

bool isOfferedSuffix(char16_t c) {
    return (c >= u'1' && c <= u'9') || (c >= u'A' && c <= u'Z');
}

}  // namespace numbered
