#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cadlink/window_system.h"

// The frames exchanged between the POSIX link and a CAD stand-in over the stand-in's UNIX socket. Both
// ends share this header. A frame is a 32-bit little-endian length, then that many bytes: one type byte
// and the body. Every request but a post gets one reply frame, whose body starts with a status byte.
namespace cadlink::posix {

enum class Request : std::uint8_t {
    ListWindows = 1,    // → count u32, then per window: handle u64, title (CP932 bytes, u32 length first)
    CopyData = 2,       // window u64, wParam u64, dwData u32, bytes (u32 length first) → status, text
    Post = 3,           // window u64, message u32, wParam u64, lParam i64 → no reply
    Pick = 16,          // count u32, ids i32 each → status, text
    Confirm = 17,       // → status, text
    State = 18,         // → status, JSON text
    SaveDxf = 19,       // path (UTF-8) → status, text
    ListLayers = 20,    // → status, count u32, names (UTF-8)
    RenameLayer = 21,   // old name, new name (UTF-8) → status, text (the refusal's description)
    Screenshot = 22,    // path (UTF-8) → status, text: the main window as a PNG file
    LayerTable = 23,    // → status, count u32, then per layer: name (UTF-8), colour i32, line type (UTF-8)
    CurrentLayer = 24,  // → status, the current layer's name (UTF-8)
    Reply = 128,
};

enum class Status : std::uint8_t { Ok = 0, Failed = 1 };

// Largest frame either end accepts; larger ones are refused unread.
inline constexpr std::uint32_t kMaxFrame = 64u * 1024u * 1024u;

struct Frame {
    std::uint8_t type = 0;
    std::vector<std::uint8_t> body;
};

// The length-prefixed wire form of a frame.
std::vector<std::uint8_t> serialize(const Frame& frame);

class ByteWriter {
public:
    ByteWriter& u8(std::uint8_t value);
    ByteWriter& u32(std::uint32_t value);
    ByteWriter& u64(std::uint64_t value);
    ByteWriter& i32(std::int32_t value) { return u32(static_cast<std::uint32_t>(value)); }
    ByteWriter& i64(std::int64_t value) { return u64(static_cast<std::uint64_t>(value)); }
    ByteWriter& bytes(const void* data, std::size_t size);  // u32 length first
    ByteWriter& text(std::string_view utf8) { return bytes(utf8.data(), utf8.size()); }
    std::vector<std::uint8_t> take() { return std::move(m_out); }

private:
    std::vector<std::uint8_t> m_out;
};

// Reads a body field by field; every read fails (and keeps failing) once the body runs short.
class ByteReader {
public:
    explicit ByteReader(const std::vector<std::uint8_t>& body) : m_body(body) {}
    std::optional<std::uint8_t> u8();
    std::optional<std::uint32_t> u32();
    std::optional<std::uint64_t> u64();
    std::optional<std::int32_t> i32();
    std::optional<std::int64_t> i64();
    std::optional<std::vector<std::uint8_t>> bytes();
    std::optional<std::string> text();
    bool atEnd() const { return m_at == m_body.size(); }

private:
    bool has(std::size_t n) const { return m_body.size() - m_at >= n; }
    const std::vector<std::uint8_t>& m_body;
    std::size_t m_at = 0;
};

Frame replyFrame(Status status, std::string_view text);
Frame replyFrame(Status status, const std::vector<std::uint8_t>& rest);

// A stand-in's windows: the handle carries the process id and the window's index (0 main, 1 text
// window), so that any handle leads back to its endpoint.
inline constexpr std::uint32_t kMainWindowIndex = 0;
inline constexpr std::uint32_t kTextWindowIndex = 1;
WindowHandle makeWindowHandle(std::uint32_t processId, std::uint32_t index);
std::uint32_t processOfWindow(WindowHandle window);
std::uint32_t indexOfWindow(WindowHandle window);

}  // namespace cadlink::posix
