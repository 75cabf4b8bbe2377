#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/result.h"

// The groups of a DXF file, ASCII or binary, one at a time: what the layer table reader walks through.
namespace dxf::groups {

// The bytes of the input, taken one at a time from its buffer. The first few, looked at to tell a binary
// file from an ASCII one, are handed out again.
class Bytes {
public:
    explicit Bytes(std::istream& in) : m_in(in), m_buffer(in.rdbuf()) {}

    // Up to count bytes from here on, without taking them.
    std::string_view peek(std::size_t count) {
        while (m_head.size() - m_at < count) {
            const int c = m_buffer == nullptr ? std::char_traits<char>::eof() : m_buffer->sbumpc();
            if (c == std::char_traits<char>::eof()) {
                break;
            }
            m_head.push_back(static_cast<char>(c));
        }
        return std::string_view(m_head).substr(m_at, count);
    }

    // The next byte (0 to 255), or -1 at the end of the input.
    int get() {
        if (m_at < m_head.size()) {
            ++m_offset;
            return static_cast<unsigned char>(m_head[m_at++]);
        }
        const int c = m_buffer == nullptr ? std::char_traits<char>::eof() : m_buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            m_in.setstate(std::ios::eofbit);
            return -1;
        }
        ++m_offset;
        return c;
    }

    void skip(std::size_t count) {
        for (std::size_t i = 0; i < count && get() >= 0; ++i) {
        }
    }

    std::size_t offset() const { return m_offset; }

private:
    std::istream& m_in;
    std::streambuf* m_buffer;
    std::string m_head;
    std::size_t m_at = 0;
    std::size_t m_offset = 0;
};

// One group of the file: its code and its value.
struct Group {
    int code = 0;
    std::string text;                    // a text value; in an ASCII file every value, as written
    std::optional<std::int64_t> number;  // an integer value of a binary file
};

// What went wrong while a group was read, and where (in the user's terms: a line, or a byte).
struct Problem {
    enum class Kind { NotACode, TooLong, Truncated } kind = Kind::Truncated;
    std::string where;
};

enum class Step { Group, End, Fault };

class Groups {
public:
    virtual ~Groups() = default;
    // The next group; End where the input ends between two groups.
    virtual Step next(Group& group) = 0;
    const Problem& problem() const { return m_problem; }
    // Whether nothing at all was read.
    virtual bool empty() const = 0;

protected:
    Step fail(Problem::Kind kind, std::string where) {
        m_problem = Problem{kind, std::move(where)};
        return Step::Fault;
    }

private:
    Problem m_problem;
};

// What the user is told of a problem (Japanese): sawSection says whether the file began as DXF does, which
// tells a damaged file from one that is no DXF.
std::string problemMessage(const Problem& problem, bool sawSection);

// Blanks and tabs removed from both ends of a value.
std::string_view trim(std::string_view text);

// Where the groups read so far leave a reader of the file: the section, and the table inside TABLES, each
// "?" from its group 0 until the group 2 that names it; and whether a section and the file's end were met.
struct Place {
    std::string section;
    std::string table;
    bool sawSection = false;
    bool sawEof = false;
    // A group 0's kind (trimmed): the start or end of a section, a table or the file.
    void start(std::string_view kind);
    // A group 2 that names the section or table just begun; false for any other group 2.
    bool name(std::string_view value);
};

// The groups of the file the bytes come from, and whether it is a binary file; an error (Japanese) where
// its first bytes announce a binary file that is cut short or damaged. A byte order mark before the first
// line of an ASCII file is passed over.
struct Opened {
    std::unique_ptr<Groups> groups;
    bool binary = false;
};
tiermark::Result<Opened> open(Bytes& bytes);

}  // namespace dxf::groups
