#include "stddb/jet_header.h"

#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "common/codepage.h"

namespace stddb::jet {

namespace {

constexpr Layout kJet3{2048, 0x08, 12, 25, 27, 31, 35, 43, 8, 18, 126, 20};
constexpr Layout kJet4{4096, 0x0C, 16, 45, 47, 51, 55, 63, 12, 25, 128, 40};
constexpr std::array<std::uint8_t, 4> kHeaderKey{0xC7, 0xDA, 0x39, 0x6B};
constexpr std::string_view kJetSignature{"Standard Jet DB\0", 16};
constexpr std::string_view kAceSignature{"Standard ACE DB\0", 16};

std::uint32_t u32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

bool hasSignature(std::span<const std::uint8_t> page0, std::string_view signature) {
    return std::memcmp(page0.data() + 4, signature.data(), signature.size()) == 0;
}

}  // namespace

const Layout& layoutOf(Version version) {
    return version == Version::Jet3 ? kJet3 : kJet4;
}

void rc4(std::span<const std::uint8_t> key, std::span<std::uint8_t> data) {
    std::array<std::uint8_t, 256> state{};
    for (std::size_t i = 0; i < state.size(); ++i) {
        state[i] = static_cast<std::uint8_t>(i);
    }
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < state.size(); ++i) {
        j = static_cast<std::uint8_t>(j + state[i] + key[i % key.size()]);
        std::swap(state[i], state[j]);
    }
    std::uint8_t x = 0;
    std::uint8_t y = 0;
    for (std::uint8_t& byte : data) {
        x = static_cast<std::uint8_t>(x + 1);
        y = static_cast<std::uint8_t>(y + state[x]);
        std::swap(state[x], state[y]);
        byte ^= state[static_cast<std::uint8_t>(state[x] + state[y])];
    }
}

void maskHeader(std::span<std::uint8_t> page, Version version) {
    rc4(kHeaderKey, page.subspan(kMaskStart, layoutOf(version).headerMaskLength));
}

std::array<std::uint8_t, 4> passwordDateMask(double creationDate) {
    std::int32_t days = 0;
    if (std::isfinite(creationDate) && creationDate > -2147483648.0 && creationDate < 2147483648.0) {
        days = static_cast<std::int32_t>(creationDate);
    }
    const auto bits = static_cast<std::uint32_t>(days);
    return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

tiermark::Result<Header> parseHeader(std::span<const std::uint8_t> page0) {
    if (page0.size() < kHeaderBytes) {
        return tiermark::makeError("the file is too short to be an Access database");
    }
    if (page0[0] == 0 && hasSignature(page0, kAceSignature)) {
        return tiermark::makeError(
            "the file is an Access 2007 or later database (.accdb); only Access 97-2003 .mdb files can be read");
    }
    if (page0[0] != 0 || !hasSignature(page0, kJetSignature)) {
        return tiermark::makeError("the file is not an Access database (no \"Standard Jet DB\" signature)");
    }
    Header header;
    const std::uint32_t version = u32(page0, kVersionOffset);
    if (version == 0) {
        header.version = Version::Jet3;
    } else if (version == 1) {
        header.version = Version::Jet4;
    } else {
        return tiermark::makeError("unsupported Jet database version " + std::to_string(version));
    }

    std::vector<std::uint8_t> clear(page0.begin(), page0.begin() + static_cast<std::ptrdiff_t>(kHeaderBytes));
    maskHeader(clear, header.version);
    header.codePage = static_cast<std::uint16_t>(clear[kCodePageOffset] | (clear[kCodePageOffset + 1] << 8));
    header.databaseKey = u32(clear, kDatabaseKeyOffset);
    std::memcpy(&header.creationDate, clear.data() + kCreationDateOffset, sizeof(double));

    const std::size_t length = layoutOf(header.version).passwordLength;
    std::span<std::uint8_t> password(clear.data() + kPasswordOffset, length);
    if (header.version == Version::Jet4) {
        const auto mask = passwordDateMask(header.creationDate);
        for (std::size_t i = 0; i < length; ++i) {
            password[i] ^= mask[i % mask.size()];
        }
        for (std::size_t i = 0; i + 1 < length; i += 2) {
            const auto unit = static_cast<char16_t>(password[i] | (password[i + 1] << 8));
            if (unit == 0) {
                break;
            }
            header.password.push_back(unit);
        }
    } else {
        std::string bytes;
        for (std::size_t i = 0; i < length && password[i] != 0; ++i) {
            bytes.push_back(static_cast<char>(password[i]));
        }
        header.password = tiermark::fromCp932Lenient(bytes);
    }
    return header;
}

}  // namespace stddb::jet
