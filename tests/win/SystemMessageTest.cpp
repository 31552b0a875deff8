// A code the system has no text for is named in the program's language.
#include <windows.h>

#include "MiniTest.h"

#include "Error.h"
#include "LauncherTexts.h"
#include "SetupTexts.h"

TEST(SystemMessage, ACodeWithoutTextIsNamedByTheProgramsTable) {
    // The customer bit: no system text, under Windows and Wine alike.
    constexpr long kNoText = 0x20001234;
    const struct {
        winkit::NumberedErrorText text;
        winkit::Language language;
        const wchar_t* shown;
    } cases[] = {
        {nullptr, winkit::Language::German, L"Error 536875572."},
        {launcher::ErrorNumberText, winkit::Language::German, L"Fehler 536875572."},
        {setup::ErrorNumberText, winkit::Language::German, L"Fehler 536875572."},
        {setup::ErrorNumberText, winkit::Language::English, L"Error 536875572."},
    };
    for (const auto& c : cases) {
        launcher::UseLanguage(c.language);
        setup::UseLanguage(c.language);
        winkit::UseNumberedErrorText(c.text);
        EXPECT_EQ(winkit::SystemMessage(kNoText), std::wstring(c.shown));
    }
    winkit::UseNumberedErrorText(nullptr);
    launcher::UseLanguage(winkit::Language::English);
    setup::UseLanguage(winkit::Language::English);
    EXPECT_EQ(winkit::SystemMessage(ERROR_ACCESS_DENIED).find(L"Error"), std::wstring::npos);
}
