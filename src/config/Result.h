#pragma once

#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <variant>

namespace kym {

// What went wrong, and where: line is a 1-based line of the file being read, 0 when no line
// applies.
struct Error {
    std::string reason;
    int line = 0;
};

// The system's description of an errno value. Unlike std::strerror it may run on any thread.
inline std::string errnoText(int code) {
    return std::generic_category().message(code);
}

// A value or the reason there is none. Errors cross layers as values, never as exceptions; a result
// dropped unread is a failure nobody reports, hence [[nodiscard]].
template <class T> class [[nodiscard]] Result {
public:
    Result(T value) : data_(std::move(value)) {}
    Result(Error error) : data_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(data_); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<T>(data_); }
    T& value() { return std::get<T>(data_); }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }
    const Error& error() const { return std::get<Error>(data_); }

private:
    std::variant<T, Error> data_;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *error_; }

private:
    std::optional<Error> error_;
};

} // namespace kym
