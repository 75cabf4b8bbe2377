#include "cadlink/posix_protocol.h"

#include <cstring>

#include "cadlink/posix_endpoint.h"

namespace cadlink::posix {

std::vector<std::uint8_t> serialize(const Frame& frame) {
    ByteWriter writer;
    writer.u32(static_cast<std::uint32_t>(frame.body.size() + 1)).u8(frame.type);
    std::vector<std::uint8_t> out = writer.take();
    out.insert(out.end(), frame.body.begin(), frame.body.end());
    return out;
}

ByteWriter& ByteWriter::u8(std::uint8_t value) {
    m_out.push_back(value);
    return *this;
}

ByteWriter& ByteWriter::u32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        m_out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    return *this;
}

ByteWriter& ByteWriter::u64(std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        m_out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    return *this;
}

ByteWriter& ByteWriter::bytes(const void* data, std::size_t size) {
    u32(static_cast<std::uint32_t>(size));
    const auto* p = static_cast<const std::uint8_t*>(data);
    m_out.insert(m_out.end(), p, p + size);
    return *this;
}

std::optional<std::uint8_t> ByteReader::u8() {
    if (!has(1)) {
        m_at = m_body.size();
        return std::nullopt;
    }
    return m_body[m_at++];
}

std::optional<std::uint32_t> ByteReader::u32() {
    if (!has(4)) {
        m_at = m_body.size();
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(m_body[m_at++]) << (8 * i);
    }
    return value;
}

std::optional<std::uint64_t> ByteReader::u64() {
    if (!has(8)) {
        m_at = m_body.size();
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) {
        value |= static_cast<std::uint64_t>(m_body[m_at++]) << (8 * i);
    }
    return value;
}

std::optional<std::int32_t> ByteReader::i32() {
    auto value = u32();
    return value ? std::optional<std::int32_t>(static_cast<std::int32_t>(*value)) : std::nullopt;
}

std::optional<std::int64_t> ByteReader::i64() {
    auto value = u64();
    return value ? std::optional<std::int64_t>(static_cast<std::int64_t>(*value)) : std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ByteReader::bytes() {
    auto size = u32();
    if (!size || !has(*size)) {
        m_at = m_body.size();
        return std::nullopt;
    }
    std::vector<std::uint8_t> out(m_body.begin() + static_cast<std::ptrdiff_t>(m_at),
                                  m_body.begin() + static_cast<std::ptrdiff_t>(m_at + *size));
    m_at += *size;
    return out;
}

std::optional<std::string> ByteReader::text() {
    auto raw = bytes();
    if (!raw) {
        return std::nullopt;
    }
    return std::string(raw->begin(), raw->end());
}

Frame replyFrame(Status status, std::string_view text) {
    ByteWriter writer;
    writer.u8(static_cast<std::uint8_t>(status)).text(text);
    return Frame{static_cast<std::uint8_t>(Request::Reply), writer.take()};
}

Frame replyFrame(Status status, const std::vector<std::uint8_t>& rest) {
    Frame frame{static_cast<std::uint8_t>(Request::Reply), {}};
    frame.body.reserve(rest.size() + 1);
    frame.body.push_back(static_cast<std::uint8_t>(status));
    frame.body.insert(frame.body.end(), rest.begin(), rest.end());
    return frame;
}

WindowHandle makeWindowHandle(std::uint32_t processId, std::uint32_t index) {
    return (static_cast<WindowHandle>(processId) << 16) | ((index + 1) & 0xFFFF);
}

std::uint32_t processOfWindow(WindowHandle window) {
    return static_cast<std::uint32_t>(window >> 16);
}

std::uint32_t indexOfWindow(WindowHandle window) {
    return static_cast<std::uint32_t>((window & 0xFFFF) == 0 ? 0xFFFF : (window & 0xFFFF) - 1);
}

bool isTimeout(const tiermark::Error& error) {
    return error.message == kNoAnswerInTime;
}

tiermark::Result<std::vector<std::uint8_t>> replyBody(const tiermark::Result<Frame>& reply) {
    if (!reply) {
        return reply.error();
    }
    if (reply->body.empty()) {
        return tiermark::makeError("the stand-in sent an empty reply");
    }
    std::vector<std::uint8_t> rest(reply->body.begin() + 1, reply->body.end());
    if (reply->body[0] != static_cast<std::uint8_t>(Status::Ok)) {
        ByteReader reader(rest);
        auto text = reader.text();
        return tiermark::makeError(text ? *text : std::string("the stand-in refused the request"));
    }
    return rest;
}

}  // namespace cadlink::posix
