#pragma once

#include "base/Status.h"

#include <cassert>
#include <optional>
#include <utility>

namespace q7n {

// A value, or the status of the failure that left none: what an operation that makes something
// answers (an opened handle's owner, a text read), so that neither an out-parameter nor a
// success without a value can be left unchecked.
template <class T> class [[nodiscard]] TStatusOr {
public:
    // Success with Value.
    TStatusOr(T Value) : FValue(std::move(Value)) {}
    // The failure Status, which must not be success.
    TStatusOr(TStatus Status) : FStatus(std::move(Status)) { assert(!FStatus.Ok()); }

    bool Ok() const { return FValue.has_value(); }
    // Success when there is a value.
    const TStatus& Status() const { return FStatus; }

    // The value; only when Ok().
    T& Value() & {
        assert(Ok());
        return *FValue;
    }
    const T& Value() const& {
        assert(Ok());
        return *FValue;
    }
    T&& Value() && {
        assert(Ok());
        return std::move(*FValue);
    }
    T* operator->() { return &Value(); }
    const T* operator->() const { return &Value(); }
    T& operator*() & { return Value(); }
    const T& operator*() const& { return Value(); }

    // The value, or Fallback after a failure.
    T ValueOr(T Fallback) const& { return Ok() ? *FValue : std::move(Fallback); }

private:
    std::optional<T> FValue;
    TStatus FStatus;
};

} // namespace q7n
