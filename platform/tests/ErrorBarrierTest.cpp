#include "platform/ErrorBarrier.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

using namespace q7n;
using namespace q7n::platform;

TEST(ErrorBarrier, WhatTheBodyRaisesBecomesItsCode) {
    EXPECT_EQ(ErrorBarrier([]() -> std::uint32_t {
                  throw std::system_error(static_cast<int>(ErrorBadPathname),
                                          std::system_category());
              }),
              ErrorBadPathname);
    EXPECT_EQ(ErrorBarrier([]() -> long { throw std::bad_alloc(); }),
              static_cast<long>(ErrorNotEnoughMemory));
    EXPECT_EQ(ErrorBarrier([]() -> std::uint32_t { throw std::runtime_error("other"); }),
              ErrorGenFailure);
    // A system error without a code is still a failure.
    EXPECT_EQ(ErrorBarrier([]() -> std::uint32_t { throw std::system_error(std::error_code()); }),
              ErrorGenFailure);
    // What the body answers passes unchanged.
    EXPECT_EQ(ErrorBarrier([] { return ErrorFileNotFound; }), ErrorFileNotFound);
}

TEST(ErrorBarrier, StatusesCarryTheCodeAndTheSystemsText) {
    TStatus Failed = ErrorBarrier([]() -> TStatus { throw std::bad_alloc(); });
    EXPECT_EQ(Failed.Code(), ErrorNotEnoughMemory);
    EXPECT_EQ(Failed.Text(), SystemErrorText(ErrorNotEnoughMemory));

    TStatusOr<std::string> Value = ErrorBarrier([]() -> TStatusOr<std::string> {
        throw std::system_error(static_cast<int>(ErrorAccessDenied), std::system_category());
    });
    ASSERT_FALSE(Value.Ok());
    EXPECT_EQ(Value.Status().Code(), ErrorAccessDenied);
    EXPECT_EQ(ErrorBarrier([]() -> TStatusOr<std::string> { return std::string("made"); }).Value(),
              "made");

    // A translator of its own decides the code, and may look at the exception.
    auto Translate = [] {
        try {
            throw;
        } catch (const std::out_of_range&) {
            return ErrorInvalidParameter;
        } catch (...) {
            return ErrorGenFailure;
        }
    };
    EXPECT_EQ(ErrorBarrier([]() -> TStatus { throw std::out_of_range("x"); }, Translate).Code(),
              ErrorInvalidParameter);
}
