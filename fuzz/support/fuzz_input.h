#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tiermark::fuzz {

// Reads a fuzzer's bytes front to back: a few leading bytes steer the run (modes, split points), the
// rest is the text under test.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_pos >= m_size; }
    std::size_t remaining() const { return m_size - m_pos; }

    // The next byte, or 0 once the input is used up.
    std::uint8_t byte() { return empty() ? 0 : m_data[m_pos++]; }

    // Everything not yet read, as bytes.
    std::string_view restBytes() {
        std::string_view rest(reinterpret_cast<const char*>(m_data + m_pos), remaining());
        m_pos = m_size;
        return rest;
    }

    // Everything not yet read, as UTF-16LE units (a last odd byte is dropped). Every unit value can
    // come out, unpaired surrogates included.
    std::u16string restUtf16() {
        std::u16string text;
        text.reserve(remaining() / 2);
        while (remaining() >= 2) {
            const auto low = m_data[m_pos];
            const auto high = m_data[m_pos + 1];
            text.push_back(static_cast<char16_t>(low | (high << 8)));
            m_pos += 2;
        }
        m_pos = m_size;
        return text;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

}  // namespace tiermark::fuzz
