#pragma once

/// @file
/// The result of a job that may refuse: a value, or the named reason there
/// is none. Each layer names its reasons in an enumeration whose zero is
/// "none".

namespace marlix {

/// A value, and why it is missing. On a refusal value holds nothing usable
/// (each layer says what: T's default, or an empty value of its own).
template <class T, class Why>
struct [[nodiscard]] basic_result {
    T value{};
    Why why = Why{};

    constexpr bool ok() const { return why == Why{}; }
    constexpr explicit operator bool() const { return ok(); }
};

}  // namespace marlix
