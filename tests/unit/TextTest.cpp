#include <gtest/gtest.h>

#include "Text.h"

using namespace winkit;

TEST(Text, BlanksAroundAreSpacesAndTabs) {
    const struct {
        const wchar_t* text;
        const wchar_t* trimmed;
    } cases[] = {
        {L"", L""}, {L" \t \t", L""}, {L"x", L"x"}, {L" \tC:\\a b\t ", L"C:\\a b"},
        {L"\nx\r", L"\nx\r"}, {L"\x00A0x\x3000", L"\x00A0x\x3000"},  // only space and tab count
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Trimmed(c.text), c.trimmed) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(IsBlank(c.text), std::wstring(c.trimmed).empty()) << testing::PrintToString(std::wstring(c.text));
    }
    // The autostart's Run value counts spaces alone as blank.
    EXPECT_TRUE(IsBlank(L"  ", L" "));
    EXPECT_FALSE(IsBlank(L" \t ", L" "));
}

TEST(Text, DriveLetterAndDriveRoot) {
    const struct {
        const wchar_t* text;
        bool letter;  // "X:"
        bool root;    // "X:\" or "X:/"
    } cases[] = {
        {L"C:\\x", true, true}, {L"a:", true, false}, {L"A:\\", true, true}, {L"z:/x", true, true},
        {L"Z:", true, false}, {L"c:x", true, false}, {L"@:\\x", false, false}, {L"[:\\x", false, false},
        {L"`:\\x", false, false}, {L"{:\\x", false, false}, {L"\x0141:\\x", false, false},
        {L"\x0161:\\x", false, false}, {L"C", false, false}, {L"CD:\\x", false, false},
        {L"\\\\server\\share", false, false}, {L":\\", false, false}, {L"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartsWithDriveLetter(c.text), c.letter) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(StartsWithDriveRoot(c.text), c.root) << testing::PrintToString(std::wstring(c.text));
    }
}
