#pragma once

#include <string>
#include <utility>
#include <variant>

namespace tiermark {

// What went wrong, in words a user or a log can show (UTF-8).
struct Error {
    std::string message;
};

inline Error makeError(std::string message) {
    return Error{std::move(message)};
}

// The value of an operation that can fail, or the reason it failed.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value)
        : m_state(std::in_place_index<0>, std::move(value)) {}  // NOLINT(google-explicit-constructor)
    Result(Error error)
        : m_state(std::in_place_index<1>, std::move(error)) {}  // NOLINT(google-explicit-constructor)

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(m_state); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const Error& error() const { return std::get<1>(m_state); }

private:
    std::variant<T, Error> m_state;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)), m_ok(false) {}  // NOLINT(google-explicit-constructor)

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const Error& error() const { return m_error; }

private:
    Error m_error;
    bool m_ok = true;
};

}  // namespace tiermark
