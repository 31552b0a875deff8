#include <gtest/gtest.h>

#include "AccessKey.h"
#include "Hotkey.h"
#include "HotkeyRule.h"
#include "LauncherTexts.h"

#include <utility>
#include <vector>

using namespace launcher;

namespace {
constexpr unsigned kCtrlAlt = kModControl | kModAlt;
}

TEST(HotkeyText, ReadsCombinationsAndRefusesWhatCannotBeRead) {
    struct Case {
        const wchar_t* text;
        std::optional<Hotkey> hotkey;  // nothing: unreadable
        const wchar_t* formatted;      // the text written back
    } cases[] = {
        {L"Ctrl+Alt+E", Hotkey{kCtrlAlt, 'E'}, L"Ctrl+Alt+E"},
        {L"Win+Shift+F", Hotkey{kModWin | kModShift, 'F'}, L"Win+Shift+F"},
        {L"Ctrl+Alt+F12", Hotkey{kCtrlAlt, 0x7B}, L"Ctrl+Alt+F12"},
        {L"Alt+F1", Hotkey{kModAlt, 0x70}, L"Alt+F1"},
        {L"Ctrl+F10", Hotkey{kModControl, 0x79}, L"Ctrl+F10"},
        {L"Alt+f19", Hotkey{kModAlt, 0x82}, L"Alt+F19"},
        {L"Win+Shift+F24", Hotkey{kModWin | kModShift, 0x87}, L"Win+Shift+F24"},
        {L"Ctrl+Delete", Hotkey{kModControl, 0x2E}, L"Ctrl+Delete"},
        {L"Win+Pause", Hotkey{kModWin, 0x13}, L"Win+Pause"},
        {L"Win+E", Hotkey{kModWin, 'E'}, L"Win+E"},
        {L"Ctrl+Shift+7", Hotkey{kModControl | kModShift, '7'}, L"Ctrl+Shift+7"},
        {L"Alt+a", Hotkey{kModAlt, 'A'}, L"Alt+A"},
        {L"Alt+Z", Hotkey{kModAlt, 'Z'}, L"Alt+Z"},
        {L"Ctrl+0", Hotkey{kModControl, '0'}, L"Ctrl+0"},
        {L"Ctrl+9", Hotkey{kModControl, '9'}, L"Ctrl+9"},
        {L"Ctrl+Alt+Space", Hotkey{kCtrlAlt, 0x20}, L"Ctrl+Alt+Space"},
        {L"Ctrl+Alt+Left", Hotkey{kCtrlAlt, 0x25}, L"Ctrl+Alt+Left"},
        {L"Win+Down", Hotkey{kModWin, 0x28}, L"Win+Down"},
        {L"Ctrl+Alt+Up", Hotkey{kCtrlAlt, 0x26}, L"Ctrl+Alt+Up"},
        {L"Ctrl+end", Hotkey{kModControl, 0x23}, L"Ctrl+End"},
        {L"ctrl+ALT+e", Hotkey{kCtrlAlt, 'E'}, L"Ctrl+Alt+E"},
        {L" Alt + Ctrl + e ", Hotkey{kCtrlAlt, 'E'}, L"Ctrl+Alt+E"},
        {L"", Hotkey{}, L""},
        {L"   ", Hotkey{}, L""},
        {L"Ctrl+Ctrl+E", std::nullopt, nullptr},
        {L"Ctrl+Alt+Foo", std::nullopt, nullptr},
        {L"Ctrl+Alt+F25", std::nullopt, nullptr},
        {L"Ctrl+Alt+F0", std::nullopt, nullptr},
        {L"Ctrl+Alt", std::nullopt, nullptr},
        {L"Ctrl+", std::nullopt, nullptr},
        {L"+E", std::nullopt, nullptr},
        {L"Ctrl+E+F", std::nullopt, nullptr},
        {L"Ctrl+E+Alt", std::nullopt, nullptr},
        {L"E", std::nullopt, nullptr},
        {L"Control+E", std::nullopt, nullptr},
        {L"Ctrl+Alt+Ä", std::nullopt, nullptr},
        {L"Ctrl+Alt+@", std::nullopt, nullptr},  // the characters beside the letters and digits
        {L"Ctrl+Alt+[", std::nullopt, nullptr},
        {L"Ctrl+Alt+/", std::nullopt, nullptr},
        {L"Ctrl+Alt+:", std::nullopt, nullptr},
        // Without Ctrl, Alt or Win a key would be taken from every program.
        {L"F9", std::nullopt, nullptr},
        {L"Delete", std::nullopt, nullptr},
        {L"Left", std::nullopt, nullptr},
        {L"Home", std::nullopt, nullptr},
        {L"Pause", std::nullopt, nullptr},
        {L"Shift+F24", std::nullopt, nullptr},
        {L"Shift+E", std::nullopt, nullptr},
        // Names with more after them.
        {L"Ctrl+Alt+Spacebar", std::nullopt, nullptr},
        {L"Ctrl+Alt+PageUpx", std::nullopt, nullptr},
        {L"Ctrl+Alt+F01", std::nullopt, nullptr},
        {L"Ctrl+Alt+F1x", std::nullopt, nullptr},
        {L"Ctrlx+E", std::nullopt, nullptr},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseHotkey(c.text);
        ASSERT_EQ(parsed.has_value(), c.hotkey.has_value()) << testing::PrintToString(std::wstring(c.text));
        if (!parsed) continue;
        EXPECT_EQ(parsed->modifiers, c.hotkey->modifiers) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(parsed->key, c.hotkey->key) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(FormatHotkey(*parsed), c.formatted);
    }
    EXPECT_TRUE(ParseHotkey(L"win+e")->IsWindowsExplorerKey());
    EXPECT_FALSE(ParseHotkey(L"Win+Shift+E")->IsWindowsExplorerKey());
}

// Stored in English whatever the language; shown as the user's keyboard
// names the keys.
TEST(HotkeyText, ShownInTheProgramsLanguageStoredInEnglish) {
    const struct {
        const wchar_t* stored;
        const wchar_t* german;
    } cases[] = {
        {L"Ctrl+Alt+E", L"Strg+Alt+E"},          {L"Win+Shift+F", L"Win+Umschalt+F"},
        {L"Ctrl+Delete", L"Strg+Entf"},          {L"Ctrl+Alt+Insert", L"Strg+Alt+Einfg"},
        {L"Win+Pause", L"Win+Pause"},            {L"Alt+F19", L"Alt+F19"},
        {L"Ctrl+Alt+Space", L"Strg+Alt+Leertaste"}, {L"Ctrl+End", L"Strg+Ende"},
        {L"Ctrl+Home", L"Strg+Pos1"},            {L"Win+Down", L"Win+Nach-unten"},
        {L"Win+Left", L"Win+Nach-links"},        {L"Win+Up", L"Win+Nach-oben"},
        {L"Win+Right", L"Win+Nach-rechts"},      {L"Ctrl+Alt+PageUp", L"Strg+Alt+Bild-auf"},
        {L"Ctrl+Alt+PageDown", L"Strg+Alt+Bild-ab"}, {L"Win+Ctrl+Alt+Shift+7", L"Win+Strg+Alt+Umschalt+7"},
    };
    for (const auto& c : cases) {
        const Hotkey hotkey = *ParseHotkey(c.stored);
        UseLanguage(Language::German);
        EXPECT_EQ(ShownHotkey(hotkey), c.german);
        EXPECT_EQ(FormatHotkey(hotkey), c.stored);
        UseLanguage(Language::English);
        EXPECT_EQ(ShownHotkey(hotkey), c.stored);
    }
    EXPECT_FALSE(ParseHotkey(L"Strg+Alt+E")) << "what is shown is not what is read";
    EXPECT_EQ(ShownHotkey(Hotkey{}), L"");
}

TEST(HotkeyControl, WordAndCombinationBothWays) {
    struct Case {
        unsigned word;  // HOTKEYF_* << 8 | virtual key
        Hotkey hotkey;
    } cases[] = {
        {0x0645, {kCtrlAlt, 'E'}},               // HOTKEYF_CONTROL | HOTKEYF_ALT
        {0x0146, {kModShift, 'F'}},              // HOTKEYF_SHIFT
        {0x0246, {kModControl, 'F'}},            // HOTKEYF_CONTROL
        {0x0446, {kModAlt, 'F'}},                // HOTKEYF_ALT
        {0x0A2E, {kModControl, 0x2E}},           // Delete is an extended key
        {0x077B, {kCtrlAlt | kModShift, 0x7B}},  // all three, F12
        {0x0E25, {kCtrlAlt, 0x25}},              // an arrow is an extended key
        {0x0000, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FromHotkeyControl(c.word), c.hotkey) << std::hex << c.word;
        EXPECT_EQ(ToHotkeyControl(c.hotkey), c.word) << std::hex << c.word;
    }
}

TEST(HotkeyTaken, TheBalloonPointsToSettingsTheDialogDoesNot) {
    const Hotkey hotkey{kCtrlAlt, 'E'};
    EXPECT_EQ(HotkeyTakenText(hotkey), L"Ctrl+Alt+E is used by another program; choose another in Settings.");
    const std::wstring inSettings = HotkeyTakenInSettingsText(hotkey, L"<reason>");
    EXPECT_EQ(inSettings.rfind(L"Ctrl+Alt+E is used by another program.", 0), 0u);
    EXPECT_EQ(inSettings.find(L"in Settings"), std::wstring::npos);
    EXPECT_NE(inSettings.find(L"<reason>"), std::wstring::npos);
}

TEST(HotkeyUse, AKeyNeedsCtrlAltOrWin) {
    EXPECT_TRUE(IsUsableHotkey({kModWin, 'E'}));
    EXPECT_TRUE(IsUsableHotkey({kModAlt | kModShift, 0x70}));
    EXPECT_TRUE(IsUsableHotkey({kModControl, 0x2E}));
    EXPECT_FALSE(IsUsableHotkey({kModShift, 0x70}));
    EXPECT_FALSE(IsUsableHotkey({0, 0x2E}));
    EXPECT_FALSE(IsUsableHotkey({kCtrlAlt, 0}));
}

namespace {

// What Ctrl+Alt (AltGr) with a key types, as the layout's own table says.
class TableLayout final : public KeyboardLayout {
public:
    explicit TableLayout(std::vector<std::pair<unsigned, std::wstring>> table) : m_table(std::move(table)) {}
    std::wstring AltGrText(unsigned key) const override {
        for (const auto& [tableKey, text] : m_table)
            if (tableKey == key) return text;
        return L"";
    }

private:
    std::vector<std::pair<unsigned, std::wstring>> m_table;
};

// US: no AltGr at all. German (T1): Q @, E €, M µ, 2 ², 3 ³, 7 {, 8 [, 9 ],
// 0 }, ß \, + ~, < |; Ctrl+Alt with another letter types a control
// character (Ctrl+E's), which is no character anyone types.
const TableLayout kUnitedStates({{'E', L"\x05"}, {0x20, L" "}});
const TableLayout kGerman({{'Q', L"@"}, {'E', L"\u20AC"}, {'M', L"\u00B5"}, {'2', L"\u00B2"}, {'3', L"\u00B3"},
                           {'7', L"{"}, {'8', L"["}, {'9', L"]"}, {'0', L"}"}, {0xDB, L"\\"}, {0xBB, L"~"},
                           {0xE2, L"|"}, {'A', L"\x01"}});

}  // namespace

TEST(HotkeyRule, KeysProgramsTypingAndWindowsNeedAreRefused) {
    using R = HotkeyRefusal;
    constexpr unsigned kShift = kModShift, kWin = kModWin, kAll = kCtrlAlt | kModShift;
    struct Case {
        Hotkey hotkey;
        R us;      // with the US layout
        R german;  // with the German one
        const wchar_t* note;  // beside the box, with the German layout ("": taken)
    } cases[] = {
        {{}, R::None, R::None, L""},
        // Alt or Ctrl alone with a typing key: menus, Save, Copy, moving the cursor.
        {{kModAlt, 'S'}, R::Typing, R::Typing, L"Alt+S is not taken: menus need it."},
        {{kModAlt, '1'}, R::Typing, R::Typing, L"Alt+1 is not taken: menus need it."},
        {{kModControl, 'C'}, R::Typing, R::Typing, L"Ctrl+C is not taken: other programs need it."},
        {{kModControl, '0'}, R::Typing, R::Typing, L"Ctrl+0 is not taken: other programs need it."},
        {{kModControl, 0x20}, R::Typing, R::Typing, L"Ctrl+Space is not taken: other programs need it."},
        {{kModAlt, 0x25}, R::Typing, R::Typing, L"Alt+Left is not taken: menus need it."},
        {{kModControl, 0x2E}, R::Typing, R::Typing, L"Ctrl+Delete is not taken: other programs need it."},
        {{kModControl, 0x22}, R::Typing, R::Typing, L"Ctrl+PageDown is not taken: other programs need it."},
        {{kModControl, 0xBE}, R::Typing, R::Typing, L"This combination is not taken: other programs need it."},
        // ... but function keys and Pause with them are no typing.
        {{kModAlt, 0x70}, R::None, R::None, L""},
        {{kModAlt, 0x87}, R::None, R::None, L""},
        {{kModControl, 0x7B}, R::None, R::None, L""},
        {{kModControl, 0x13}, R::None, R::None, L""},
        // Windows' own.
        {{kModAlt, 0x73}, R::Windows, R::Windows, L"Alt+F4 is not taken: Windows needs it."},
        {{kModAlt, 0x09}, R::Windows, R::Windows, L"This combination is not taken: Windows needs it."},
        {{kModAlt | kShift, 0x09}, R::Windows, R::Windows, nullptr},
        {{kModAlt, 0x1B}, R::Windows, R::Windows, nullptr},
        {{kModControl, 0x1B}, R::Windows, R::Windows, nullptr},
        {{kModControl | kShift, 0x1B}, R::Windows, R::Windows, nullptr},
        {{kCtrlAlt, 0x2E}, R::Windows, R::Windows, L"Ctrl+Alt+Delete is not taken: Windows needs it."},
        {{0, 0x70}, R::Windows, R::Windows, L"F1 is not taken: Windows needs it."},
        {{0, 0x79}, R::Windows, R::Windows, L"F10 is not taken: Windows needs it."},
        {{0, 0x78}, R::NoModifier, R::NoModifier, L"F9 is not taken: a hotkey needs Ctrl, Alt or Win."},
        {{kShift, 'E'}, R::NoModifier, R::NoModifier, nullptr},
        // Ctrl+Alt with what the layout types with AltGr.
        {{kCtrlAlt, 'E'}, R::None, R::AltGr, L"Ctrl+Alt+E is not taken: it types \u201C\u20AC\u201D."},
        {{kCtrlAlt, 'Q'}, R::None, R::AltGr, L"Ctrl+Alt+Q is not taken: it types \u201C@\u201D."},
        {{kCtrlAlt, '2'}, R::None, R::AltGr, L"Ctrl+Alt+2 is not taken: it types \u201C\u00B2\u201D."},
        {{kCtrlAlt, '7'}, R::None, R::AltGr, L"Ctrl+Alt+7 is not taken: it types \u201C{\u201D."},
        {{kCtrlAlt, '0'}, R::None, R::AltGr, nullptr},
        {{kCtrlAlt, 'M'}, R::None, R::AltGr, nullptr},
        {{kCtrlAlt, 'A'}, R::None, R::None, L""},
        {{kCtrlAlt, '1'}, R::None, R::None, L""},
        {{kCtrlAlt, 0x7B}, R::None, R::None, L""},
        {{kCtrlAlt, 0x20}, R::None, R::None, L""},
        // Win with any key, Ctrl+Shift, Alt+Shift and three modifiers stay.
        {{kWin, 'E'}, R::None, R::None, L""},
        {{kWin, 'Q'}, R::None, R::None, L""},
        {{kModControl | kShift, 'S'}, R::None, R::None, L""},
        {{kModAlt | kShift, 'E'}, R::None, R::None, L""},
        {{kAll, 'E'}, R::None, R::None, L""},
        {{kCtrlAlt | kWin, 'E'}, R::None, R::None, L""},
    };
    for (const Case& c : cases) {
        const std::wstring name = FormatHotkey(c.hotkey) + L" " + std::to_wstring(c.hotkey.key);
        EXPECT_EQ(JudgeHotkey(c.hotkey, kUnitedStates).refusal, c.us) << testing::PrintToString(name);
        const HotkeyVerdict german = JudgeHotkey(c.hotkey, kGerman);
        EXPECT_EQ(german.refusal, c.german) << testing::PrintToString(name);
        if (c.note != nullptr) {
            EXPECT_EQ(HotkeyRefusalNote(c.hotkey, german), c.note);
        }
    }
    EXPECT_EQ(StoredHotkeyRefusedText({kModAlt, 'S'}, JudgeHotkey({kModAlt, 'S'}, kUnitedStates)),
              L"The hotkey Alt+S is not used: menus need it. Choose another in Settings.");
    EXPECT_EQ(StoredHotkeyRefusedText({kCtrlAlt, 'E'}, JudgeHotkey({kCtrlAlt, 'E'}, kUnitedStates)), L"");
}

TEST(AccessKeys, TheLetterAfterASingleAmpersand) {
    struct Case {
        const wchar_t* caption;
        wchar_t key;
    } cases[] = {
        {L"&Save", L'S'},      {L"Use &Win+E", L'W'}, {L"Na&me:", L'M'}, {L"&1 Projects", L'1'},
        {L"Tom && Jerry", 0},  {L"A&&B &c", L'C'},    {L"", 0},          {L"end&", 0},
        {L"&\u00C4rger", 0},   {L"&z", L'Z'},         {L"&Z", L'Z'},     {L"&9", L'9'},
        {L"&a", L'A'},      {L"&All", L'A'},      {L"&0 Tenth", L'0'},
        {nullptr, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(AccessKey(c.caption), c.key) << (c.caption ? c.caption : L"(null)");
}
