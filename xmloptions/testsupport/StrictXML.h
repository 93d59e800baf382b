#pragma once

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace q7n::testing {

// Whether a strict reader (xmllint) takes the file at Path as well-formed XML 1.0. The files'
// own parser is lenient: it reads "&#1;" and bytes that are not UTF-8, which the service cannot.
inline ::testing::AssertionResult IsStrictXML(const std::string& Path) {
#ifdef _WIN32
    // xmllint is a Linux program, out of reach of the Windows test run; the Linux run checks the
    // same writer's files.
    (void)Path;
    return ::testing::AssertionSuccess();
#else
    std::string Command = "xmllint --noout '" + Path + "' 2>&1";
    FILE* Pipe = ::popen(Command.c_str(), "r");
    if (!Pipe)
        return ::testing::AssertionFailure() << "cannot run xmllint";
    std::string Output;
    char Buffer[256];
    while (std::fgets(Buffer, sizeof Buffer, Pipe))
        Output += Buffer;
    if (::pclose(Pipe) != 0)
        return ::testing::AssertionFailure() << "xmllint refuses " << Path << ":\n" << Output;
    return ::testing::AssertionSuccess();
#endif
}

} // namespace q7n::testing
