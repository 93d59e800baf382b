#pragma once

#include "base/Status.h"
#include "base/StatusOr.h"
#include "platform/Registry.h"
#include "platform/SystemErrorText.h"

#include <cstdint>
#include <exception>
#include <new>
#include <system_error>
#include <type_traits>
#include <utility>

// Where a backend meets the system: the code inside may raise (a conversion of text, an
// allocation, a database of the stand-ins), what the interface answers may not.
namespace q7n::platform {

// The Windows code of the exception in flight, for a catch (...) block: a std::system_error
// carries its own (the platform raises them with Windows codes), std::bad_alloc is
// ErrorNotEnoughMemory, anything else Fallback. Never 0.
inline std::uint32_t CodeOfCurrentException(std::uint32_t Fallback = ErrorGenFailure) {
    try {
        throw;
    } catch (const std::system_error& Error) {
        return Error.code().value() != 0 ? static_cast<std::uint32_t>(Error.code().value())
                                         : Fallback;
    } catch (const std::bad_alloc&) {
        return ErrorNotEnoughMemory;
    } catch (...) {
        return Fallback;
    }
}

namespace barrier_detail {

template <class TResult> TResult FromCode(std::uint32_t Code) {
    if constexpr (std::is_same_v<TResult, TStatus>)
        return SystemStatus(Code);
    else if constexpr (std::is_arithmetic_v<TResult>)
        return static_cast<TResult>(Code);
    else
        return TResult(SystemStatus(Code)); // a TStatusOr
}

} // namespace barrier_detail

// Runs Body and answers what it answers: a Windows code (any integer type), a TStatus or a
// TStatusOr. What it raises ends there: Translate, called inside the catch block (so that it may
// rethrow to look at the exception), gives the code, which must not be 0; it is answered as
// Body's result type would carry it.
template <class TBody, class TTranslate>
auto ErrorBarrier(TBody&& Body, TTranslate&& Translate) -> std::invoke_result_t<TBody&> {
    using TResult = std::invoke_result_t<TBody&>;
    try {
        return Body();
    } catch (...) {
        return barrier_detail::FromCode<TResult>(static_cast<std::uint32_t>(Translate()));
    }
}

// The same, with the codes of CodeOfCurrentException.
template <class TBody> auto ErrorBarrier(TBody&& Body) -> std::invoke_result_t<TBody&> {
    return ErrorBarrier(std::forward<TBody>(Body), [] { return CodeOfCurrentException(); });
}

} // namespace q7n::platform
