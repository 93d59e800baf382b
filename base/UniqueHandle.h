#pragma once

#include <utility>

namespace q7n {

// Owns one handle of some kind and closes it when it goes; moves, never copies.
//
// The traits say what a handle is and how it is closed:
//   using THandle = ...;                    the handle type
//   static THandle Invalid();               the value that owns nothing
//   void Close(THandle Handle) const;       frees a valid handle
// Traits that need a context to close a handle (the manager or registry it came from) carry it
// as data; stateless traits cost nothing. Every concrete owner is one alias of this template.
template <typename TTraits> class TUniqueHandle : private TTraits {
public:
    using THandle = typename TTraits::THandle;

    TUniqueHandle() = default;
    explicit TUniqueHandle(THandle Handle, TTraits Traits = TTraits())
        : TTraits(std::move(Traits)), FHandle(Handle) {}
    TUniqueHandle(TUniqueHandle&& Other) noexcept
        : TTraits(static_cast<const TTraits&>(Other)), FHandle(Other.Release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& Other) noexcept {
        if (this != &Other) {
            Reset();
            static_cast<TTraits&>(*this) = static_cast<const TTraits&>(Other);
            FHandle = Other.Release();
        }
        return *this;
    }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    ~TUniqueHandle() { Reset(); }

    THandle Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != TTraits::Invalid(); }
    const TTraits& Traits() const { return *this; }

    // Closes the handle held, if any, and takes Handle.
    void Reset(THandle Handle = TTraits::Invalid()) {
        THandle Old = std::exchange(FHandle, Handle);
        if (Old != TTraits::Invalid())
            TTraits::Close(Old);
    }

    // Gives the handle up without closing it.
    [[nodiscard]] THandle Release() { return std::exchange(FHandle, TTraits::Invalid()); }

    // For out-parameters: closes what is held and returns where a new handle is written.
    THandle* Address() {
        Reset();
        return &FHandle;
    }

private:
    THandle FHandle = TTraits::Invalid();
};

} // namespace q7n
