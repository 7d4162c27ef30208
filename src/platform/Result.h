#pragma once

#include "platform/RuntimeError.h"

#include <optional>
#include <utility>
#include <variant>

// What a reader hands back: its value, or the error that kept it from one. Callers that test
// it report the error where they stand; procedures that trap every error in one handler take
// valueOrThrow() instead. Asking an error for its value is a programming fault
// (std::bad_variant_access).
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(RuntimeError error) : state_(std::in_place_index<1>, std::move(error)) {}

    explicit operator bool() const { return state_.index() == 0; }

    const T& value() const& { return std::get<0>(state_); }
    T value() && { return std::get<0>(std::move(state_)); }
    const RuntimeError& error() const { return std::get<1>(state_); }

    const T& valueOrThrow() const& {
        throwIfError();
        return value();
    }
    T valueOrThrow() && {
        throwIfError();
        return std::move(*this).value();
    }

private:
    void throwIfError() const {
        if (state_.index() == 1)
            throw error();
    }

    std::variant<T, RuntimeError> state_;
};

// Done, or the error that stopped it; `return {};` is success.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(RuntimeError error) : error_(std::move(error)) {}

    explicit operator bool() const { return !error_; }
    const RuntimeError& error() const { return error_.value(); }
    void valueOrThrow() const {
        if (error_)
            throw *error_;
    }

private:
    std::optional<RuntimeError> error_;
};
