#include <gtest/gtest.h>

#include "CommandLine.h"
#include "CommandLineCases.h"

TEST(SplitCommandLine, AsCommandLineToArgvW) {
    for (const auto& c : kCommandLineCases)
        EXPECT_EQ(winkit::SplitCommandLine(c.line), c.arguments) << testing::PrintToString(std::wstring(c.line));
}
