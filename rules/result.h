// SPDX-License-Identifier: GPL-3.0-or-later
// A value, or the reason there is none: how every parse and load in the program reports a
// failure.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace kelvane {

struct Failure {
    std::string reason;  // one sentence or phrase, without a trailing period
};

template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : content_(std::move(value)) {}            // NOLINT: implicit by design
    Result(Failure failure) : content_(std::move(failure)) {}  // NOLINT

    bool ok() const { return std::holds_alternative<T>(content_); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<T>(content_); }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }
    const std::string& reason() const { return std::get<Failure>(content_).reason; }

  private:
    std::variant<T, Failure> content_;
};

// Done, or the reason it could not be: for operations that give back nothing else.
using Status = Result<std::monostate>;
inline Status Done() {
    return std::monostate{};
}

}  // namespace kelvane
