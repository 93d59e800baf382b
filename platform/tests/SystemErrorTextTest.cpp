#include "platform/SystemErrorText.h"

#include "platform/ServiceControlManager.h"

#include <gtest/gtest.h>

using namespace q7n::platform;

TEST(SystemErrorText, IsOneSentenceWithoutItsEndForKnownAndUnknownCodes) {
    for (std::uint32_t Code : {ErrorServiceSpecificError, ErrorProcessAborted, ErrorAccessDenied}) {
        std::string Text = SystemErrorText(Code);
        ASSERT_FALSE(Text.empty()) << Code;
        EXPECT_EQ(Text.find_first_of("\r\n"), std::string::npos) << Text;
        EXPECT_NE(Text.back(), '.') << Text;
        EXPECT_NE(Text.back(), ' ') << Text;
    }
    // No system has a text for this one: its number stands in.
    EXPECT_NE(SystemErrorText(0x2000FFFFu).find(std::to_string(0x2000FFFFu)), std::string::npos);
#ifndef _WIN32
    EXPECT_EQ(SystemErrorText(ErrorServiceSpecificError),
              "The service has returned a service-specific error code");
    EXPECT_EQ(SystemErrorText(ErrorProcessAborted), "The process terminated unexpectedly");
    EXPECT_EQ(SystemErrorText(4242), "error 4242");
#endif
}
