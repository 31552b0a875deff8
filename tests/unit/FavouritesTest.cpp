#include <gtest/gtest.h>

#include "FavouriteCaptions.h"
#include "FavouriteHotkeyCheck.h"
#include "FavouriteTexts.h"
#include "Favourites.h"
#include "MemoryRegistry.h"
#include "RegistryLayout.h"
#include "WindowModes.h"

#include <tuple>

using namespace launcher;
using testing_support::MachinePolicy;
using testing_support::MemoryRegistry;
using testing_support::User;

namespace {

const std::wstring kFolders = User(registry::kFavouritesKey);

void PutEntry(MemoryRegistry& reg, const std::wstring& subKey, const std::wstring& name, const std::wstring& folder,
              const std::wstring& mode = L"vbNormalFocus", const std::wstring& hotkey = L"") {
    const std::wstring key = kFolders + L"\\" + subKey;
    reg.PutString(key, L"Name", name);
    reg.PutString(key, L"Pfad", folder);
    reg.PutString(key, L"Modus", mode);
    reg.PutString(key, L"Hotkey", hotkey);
}

std::vector<std::wstring> Names(const FavouriteList& list) {
    std::vector<std::wstring> names;
    for (const Favourite& favourite : list.entries) names.push_back(favourite.name);
    return names;
}

Favourite Named(const std::wstring& name, const std::wstring& hotkey = L"") {
    return {name, L"C:\\" + name, L"vbNormalFocus", hotkey};
}

// German: AltGr+Q types "@".
class GermanQ final : public KeyboardLayout {
public:
    std::wstring AltGrText(unsigned key) const override { return key == 'Q' ? L"@" : L""; }
};

}  // namespace

TEST(FavouritesRead, InTheOrderOfTheNumbersWithGapsAndWithoutFolderlessEntries) {
    MemoryRegistry reg;
    PutEntry(reg, L"10", L"ten", L"C:\\10");
    PutEntry(reg, L"2", L"two", L"C:\\2", L"vbMinimizedFocus", L"Ctrl+Alt+2");
    PutEntry(reg, L"007", L"seven", L"C:\\7");
    PutEntry(reg, L"07", L"seven again", L"C:\\7");  // the same number: the registry's order
    PutEntry(reg, L"5", L"no folder", L"");
    PutEntry(reg, L"6", L"blank folder", L" \t ");
    PutEntry(reg, L"x", L"not ours", L"C:\\x");
    PutEntry(reg, L"1234567890", L"too long a number", L"C:\\n");
    reg.PutString(kFolders + L"\\3", L"pfad", L"C:\\3");  // names ignore case, no name
    reg.PutRaw(kFolders + L"\\4", L"Pfad", registry::kTypeDword, {1, 0, 0, 0});
    const FavouriteList list = ReadFavourites(reg);
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"two", L"", L"seven", L"seven again", L"ten"}));
    ASSERT_EQ(list.entries.size(), 5u);
    EXPECT_EQ(list.entries[0], (Favourite{L"two", L"C:\\2", L"vbMinimizedFocus", L"Ctrl+Alt+2"}));
    EXPECT_EQ(list.entries[1].folder, L"C:\\3");
    EXPECT_FALSE(list.byPolicy);
    EXPECT_EQ(list.leftOut, 0u);
    EXPECT_EQ(reg.OpenHandles(), 0);
    MemoryRegistry empty;
    EXPECT_TRUE(ReadFavourites(empty).entries.empty());
}

TEST(FavouritesRead, TheFirstTwentyAreUsed) {
    MemoryRegistry reg;
    for (int i = 1; i <= 23; ++i) PutEntry(reg, std::to_wstring(i), std::to_wstring(i), L"C:\\");
    PutEntry(reg, L"0", L"folderless first", L"");
    const FavouriteList list = ReadFavourites(reg);
    ASSERT_EQ(list.entries.size(), kMaxFavourites);
    EXPECT_EQ(list.entries.front().name, L"1");
    EXPECT_EQ(list.entries.back().name, L"20");
    EXPECT_EQ(list.leftOut, 3u);
    // Of hundreds, only the names and the entries up to the twentieth with a folder are read.
    MemoryRegistry many;
    for (int i = 300; i >= 1; --i) PutEntry(many, std::to_wstring(i), std::to_wstring(i), i == 2 ? L"" : L"C:\\");
    const int opensBefore = many.Opens();
    const FavouriteList first = ReadFavourites(many);
    EXPECT_EQ(many.Opens() - opensBefore, 2 + 1 + 21) << "the policies' keys, the list's key, 21 entries";
    ASSERT_EQ(first.entries.size(), kMaxFavourites);
    EXPECT_EQ(first.entries[1].name, L"3");
    EXPECT_EQ(first.entries.back().name, L"21");
    EXPECT_EQ(first.leftOut, 300u - 21u);
}

TEST(FavouritesRead, APolicysListReplacesTheUsers) {
    struct Case {
        bool machine, userPolicy;
        std::vector<std::wstring> names;
    } cases[] = {{false, false, {L"mine"}}, {false, true, {L"Zeta", L"Alpha & Co"}}, {true, true, {L"Computer"}}};
    for (const Case& c : cases) {
        MemoryRegistry reg;
        PutEntry(reg, L"1", L"mine", L"C:\\mine", L"vbNormalFocus", L"Ctrl+Alt+M");
        if (c.machine) reg.PutString(MachinePolicy(registry::kPolicyFavouritesKey), L"Computer", L"C:\\c");
        if (c.userPolicy) {
            const std::wstring key = User(registry::kPolicyFavouritesKey);
            reg.PutString(key, L"Zeta", L"%USERPROFILE%\\z");
            reg.PutString(key, L"Alpha & Co", L"C:\\a");
            reg.PutString(key, L"No folder", L"");
            reg.PutString(key, L"Blank folder", L" \t ");
        }
        // A key Group Policy emptied, or a value of another type, is no list.
        reg.PutRaw(MachinePolicy(registry::kPolicyFavouritesKey) + L"\\Sub", L"x", registry::kTypeDword, {1, 0, 0, 0});
        reg.PutRaw(MachinePolicy(registry::kPolicyFavouritesKey), L"Number", registry::kTypeDword, {1, 0, 0, 0});
        const FavouriteList list = ReadFavourites(reg);
        EXPECT_EQ(Names(list), c.names);
        EXPECT_EQ(list.byPolicy, c.machine || c.userPolicy);
        if (c.userPolicy && !c.machine) {
            EXPECT_EQ(list.entries[0].folder, L"%USERPROFILE%\\z");
            EXPECT_EQ(list.entries[0].hotkey, L"") << "no hotkeys by policy";
        }
    }
}

TEST(FavouritesLaunch, AMissingFolderNamesTheFavouriteAndWhereToMendIt) {
    const Favourite work{L"Work \x202E" L"1", L"C:\\gone", L"", L""};
    struct Case {
        FolderProblem problem;
        bool byPolicy;
        const wchar_t* text;
    } cases[] = {
        {FolderProblem::Missing, false,
         L"The folder C:\\gone of the favourite \"Work 1\" does not exist.\n\n"
         L"Choose another folder in Settings: Favourites..., select \"Work 1\", Edit..."},
        {FolderProblem::IsFile, false,
         L"C:\\gone, the folder of the favourite \"Work 1\", is a file, not a folder.\n\n"
         L"Choose another folder in Settings: Favourites..., select \"Work 1\", Edit..."},
        {FolderProblem::NotFull, false,
         L"C:\\gone, the folder of the favourite \"Work 1\", is not the full path of a folder.\n\n"
         L"Choose another folder in Settings: Favourites..., select \"Work 1\", Edit..."},
        {FolderProblem::Missing, true,
         L"The folder C:\\gone of the favourite \"Work 1\" does not exist.\n\n"
         L"Your administrator has set this favourite: ask them to mend it."},
    };
    for (const Case& c : cases) {
        ExplorerLaunch launch{L"", 1, L"C:\\gone", c.problem};
        EXPECT_EQ(FavouriteFolderProblemText(launch, work, c.byPolicy), c.text);
    }
}

TEST(FavouritesDialogTexts, TheEntriesLeftOutAndANewFavouritesMode) {
    const std::pair<std::size_t, const wchar_t*> leftOut[] = {
        {0, L""},
        {1, L"Only the first 20 favourites are used; 1 more is stored. OK keeps the first 20."},
        {279, L"Only the first 20 favourites are used; 279 more are stored. OK keeps the first 20."},
    };
    for (const auto& [count, text] : leftOut) EXPECT_EQ(LeftOutText(count), text) << count;
    // The main folder's mode; one it does not know opens a normal window, and so does the new favourite.
    const std::pair<const wchar_t*, const wchar_t*> modes[] = {
        {L"vbMinimizedFocus", L"vbMinimizedFocus"}, {L"vbNormalNoFocus", L"vbNormalNoFocus"},
        {L"vbMaximizedFocus", L"vbMaximizedFocus"}, {L"", L"vbNormalFocus"},
        {L"vbmaximizedfocus", L"vbNormalFocus"},   {L"nonsense", L"vbNormalFocus"},
    };
    for (const auto& [main, mode] : modes) {
        EXPECT_EQ(NewFavouriteMode(main), mode) << testing::PrintToString(std::wstring(main));
        EXPECT_EQ(ExplorerShowState(NewFavouriteMode(main)), ExplorerShowState(main));
    }
}

TEST(FavouritesLaunch, AFavouriteOpensItsFolderInItsModeAPolicysInTheMainMode) {
    FavouriteList list;
    list.entries = {{L"a", L"C:\\a", L"vbMinimizedFocus", L""}};
    const LaunchSettings main{L"vbMaximizedFocus", L"C:\\main"};
    const LaunchSettings own = FavouriteLaunchSettings(list, 0, main);
    EXPECT_EQ(own.mode, L"vbMinimizedFocus");
    EXPECT_EQ(own.folder, L"C:\\a");
    list.byPolicy = true;
    EXPECT_EQ(FavouriteLaunchSettings(list, 0, main).mode, L"vbMaximizedFocus");
    EXPECT_THROW(FavouriteLaunchSettings(list, 1, main), std::out_of_range);
}

TEST(FavouritesMenu, CaptionsWithAccessKeysAmpersandsAndCutNames) {
    const std::wstring sixty(60, L'n');
    const std::wstring surrogates = std::wstring(58, L'a') + L"\xD83D\xDCC1\xD83D\xDCC1";  // as on Windows
    struct Case {
        std::size_t index;
        Favourite favourite;
        std::wstring caption;
        std::wstring indent = L"";
        const wchar_t* keys = L"";
    } cases[] = {
        {0, {L"Projects", L"C:\\p", L"", L""}, L"&1 Projects"},
        {8, {L"Ninth", L"C:\\9", L"", L""}, L"&9 Ninth"},
        {9, {L"Tenth", L"C:\\10", L"", L""}, L"&0 Tenth"},
        {10, {L"Eleventh", L"C:\\11", L"", L""}, L"Eleventh"},
        {19, {L"Last", L"C:\\20", L"", L""}, L"Last"},
        {2, {L"Tom & Jerry &&", L"C:\\t", L"", L""}, L"&3 Tom && Jerry &&&&"},
        {0, {sixty, L"C:\\", L"", L""}, L"&1 " + sixty},
        {0, {sixty + L"&x", L"C:\\", L"", L""}, L"&1 " + std::wstring(59, L'n') + L"\u2026"},
        {0, {std::wstring(58, L'b') + L"&&&", L"C:\\", L"", L""}, L"&1 " + std::wstring(58, L'b') + L"&&\u2026"},
        {0, {surrogates, L"C:\\", L"", L""}, L"&1 " + std::wstring(58, L'a') + L"\u2026"},
        {0, {std::wstring(58, L'a') + L"\xD800\xDC00" L"cd", L"C:\\", L"", L""}, L"&1 " + std::wstring(58, L'a') + L"\u2026"},
        {0, {std::wstring(59, L'a') + L"x\xD800\xDC00", L"C:\\", L"", L""}, L"&1 " + std::wstring(59, L'a') + L"\u2026"},
        // A whole pair just before the cut stays, also after another pair.
        {0, {std::wstring(57, L'a') + L"\xD800\xDC00" L"cd", L"C:\\", L"", L""},
         L"&1 " + std::wstring(57, L'a') + L"\xD800\xDC00\u2026"},
        {0, {std::wstring(56, L'a') + L"\xD83D\xDCC1\xD83D\xDCC1x", L"C:\\", L"", L""},
         L"&1 " + std::wstring(56, L'a') + L"\xD83D\xDCC1\u2026"},
        {1, {L"", L"D:\\Only a folder", L"", L""}, L"&2 D:\\Only a folder"},
        {1, {L"  ", L"D:\\x", L"", L""}, L"&2 D:\\x"},
        {0, {L"Tab\there\r\nend\x7F", L"C:\\", L"", L""}, L"&1 Tab here  end "},
        {0, {L"\x202E" L"fdp.exe\x202C x\x200F\x200E\x061C\x202A\x202B\x202D\x2066\x2067\x2068\x2069", L"C:\\", L"", L""},
         L"&1 fdp.exe x"},
        {0, {L"\x2029\x2065\x206A\x202F\x200D", L"C:\\", L"", L""}, L"&1 \x2029\x2065\x206A\x202F\x200D"},
        {0, {L"\x202E", L"C:\\\x202Ex", L"", L""}, L"&1 C:\\x"},
        // The keys right-aligned after a tab; the unnumbered ones indented as wide as "1 ".
        {0, {L"Projects", L"C:\\p", L"", L""}, L"&1 Projects\tCtrl+Alt+1", L"\x2007 ", L"Ctrl+Alt+1"},
        {9, {L"Tenth", L"C:\\10", L"", L""}, L"&0 Tenth\tWin+Shift+F12", L"  ", L"Win+Shift+F12"},
        {10, {L"Eleventh", L"C:\\11", L"", L""}, L"\x2007 Eleventh\tCtrl+Shift+Q", L"\x2007 ", L"Ctrl+Shift+Q"},
        {19, {L"Last & least", L"C:\\20", L"", L""}, L"   Last && least", L"   "},
        {0, {L"Tab\tkeys", L"C:\\", L"", L""}, L"&1 Tab keys\tAlt+Shift+K", L"", L"Alt+Shift+K"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FavouriteMenuCaption(c.index, c.favourite, c.indent, *ParseHotkey(c.keys)), c.caption) << c.index;
    // "Open Explorer" with the main folder's combination, or Win+E; none, or a new one, replaces the old.
    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> items[] = {
        {L"Open &Explorer", L"Ctrl+Alt+E", L"Open &Explorer\tCtrl+Alt+E"},
        {L"Open &Explorer", L"Win+E", L"Open &Explorer\tWin+E"},
        {L"Open &Explorer\tCtrl+Alt+E", L"", L"Open &Explorer"},
        {L"Open &Explorer\tCtrl+Alt+E", L"Win+E", L"Open &Explorer\tWin+E"},
    };
    for (const auto& [caption, keys, shown] : items)
        EXPECT_EQ(MenuCaptionWithKeys(caption, *ParseHotkey(keys)), shown) << testing::PrintToString(std::wstring(shown));
}

// The unnumbered items' indent: blanks the menu's font has, as wide as "1 " as near as they come.
TEST(FavouritesMenu, TheIndentComesNearestToTheNumbersWidth) {
    const Blank space{L' ', 3}, figure{L'\x2007', 6}, thin{L'\x2009', 2}, hair{L'\x200A', 1};
    struct Case {
        int width;
        std::vector<Blank> blanks;
        std::wstring indent;
    } cases[] = {
        {9, {space, figure, thin, hair}, L"\x2007 "},
        {8, {space, figure, thin, hair}, L"\x2007\x2009"},
        {8, {space}, L"   "},                       // 9 px is nearer than 6
        {7, {space}, L"  "},
        {6, {{L' ', 4}}, L" "},                      // 4 px is as near as 8, with fewer
        {10, {space, hair}, L"   \x200A"},
        {13, {space, thin}, L"   \x2009\x2009"},
        {12, {{L' ', 4}, {L'\x2002', 12}}, L"\x2002"},
        {1, {space}, L""},                           // nothing is nearer than 3 px
        {1, {space, hair}, L"\x200A"},
        {0, {space}, L""},
        {9, {}, L""},
        {9, {{L' ', 0}}, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlanksOfWidth(c.width, c.blanks), c.indent) << c.width << " " << c.blanks.size();
}

// The dialog's OK writes nothing when the list equals the stored one.
TEST(FavouritesMenu, AnEntryIsUnchangedOnlyWhenEveryValueIs) {
    const Favourite entry{L"N", L"C:\\f", L"vbNormalFocus", L"Ctrl+Alt+1"};
    EXPECT_EQ(entry, entry);
    for (std::size_t which = 0; which < 4; ++which) {
        Favourite changed = entry;
        std::wstring* values[] = {&changed.name, &changed.folder, &changed.mode, &changed.hotkey};
        *values[which] += L"x";
        EXPECT_FALSE(changed == entry) << which;
    }
}

TEST(FavouriteHotkeys, NoCombinationTwiceAcrossTheList) {
    const Hotkey main = *ParseHotkey(L"Ctrl+Alt+E");
    const std::vector<Favourite> list = {
        Named(L"a", L"Ctrl+Alt+1"), Named(L"b", L"ctrl + alt + 1"), Named(L"c", L"Alt+Ctrl+E"), Named(L"d", L"nonsense"),
        Named(L"e", L""),           Named(L"f", L"Ctrl+Alt+2"),     Named(L"g", L"Ctrl+Alt+1"), Named(L"h", L"F9"),
        Named(L"i", L"Alt+S"),      Named(L"j", L"Ctrl+Alt+Q"),     Named(L"k", L"Ctrl+Alt+Q")};
    struct Expected {
        const wchar_t* combination;
        bool unreadable;
        std::optional<std::size_t> givenTwice;
        const wchar_t* column;
    } expected[] = {
        {L"Ctrl+Alt+1", false, std::nullopt, L"Ctrl+Alt+1"},
        {L"Ctrl+Alt+1", false, 0u, L"Ctrl+Alt+1 (given twice)"},
        {L"Ctrl+Alt+E", false, kMainFolder, L"Ctrl+Alt+E (given twice)"},
        {L"", true, std::nullopt, L"(cannot be read)"},
        {L"", false, std::nullopt, L""},
        {L"Ctrl+Alt+2", false, std::nullopt, L"Ctrl+Alt+2"},
        {L"Ctrl+Alt+1", false, 0u, L"Ctrl+Alt+1 (given twice)"},
        {L"", true, std::nullopt, L"(cannot be read)"},  // a key without Ctrl, Alt or Win
        // The rule's refusals count as none: not taken, and not given twice.
        {L"Alt+S", false, std::nullopt, L"Alt+S (not allowed)"},
        {L"Ctrl+Alt+Q", false, std::nullopt, L"Ctrl+Alt+Q (not allowed)"},
        {L"Ctrl+Alt+Q", false, std::nullopt, L"Ctrl+Alt+Q (not allowed)"},
    };
    const auto checks = CheckFavouriteHotkeys(list, main, GermanQ());
    ASSERT_EQ(checks.size(), list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(FormatHotkey(checks[i].combination), expected[i].combination) << i;
        EXPECT_EQ(checks[i].unreadable, expected[i].unreadable) << i;
        EXPECT_EQ(checks[i].givenTwice, expected[i].givenTwice) << i;
        EXPECT_EQ(checks[i].ToTake().IsNone(), checks[i].givenTwice || checks[i].combination.IsNone() || i >= 8) << i;
        EXPECT_EQ(HotkeyColumnText(checks[i], false), expected[i].column) << i;
    }
    EXPECT_EQ(HotkeyColumnText(checks[5], true), L"Ctrl+Alt+2 (used by another program)");
    // The entry dialog asks about one combination against all the others.
    EXPECT_EQ(HotkeyHolder(*ParseHotkey(L"Ctrl+Alt+1"), main, list, 0), 1u);
    EXPECT_EQ(HotkeyHolder(*ParseHotkey(L"Ctrl+Alt+1"), main, list, 1), 0u);
    EXPECT_EQ(HotkeyHolder(*ParseHotkey(L"Ctrl+Alt+2"), main, list, 5), std::nullopt);
    EXPECT_EQ(HotkeyHolder(*ParseHotkey(L"Ctrl+Alt+2"), main, {}, 5), std::nullopt) << "no favourites at all";
    EXPECT_EQ(HotkeyHolder(*ParseHotkey(L"Ctrl+Alt+2"), main, list, 0), 5u);
    EXPECT_EQ(HotkeyHolder(main, main, list, 2), kMainFolder);
    EXPECT_EQ(HotkeyHolder(Hotkey{}, Hotkey{}, list, 4), std::nullopt) << "no hotkey is never given twice";
    EXPECT_EQ(HotkeyGivenText(main, kMainFolder, list),
              L"Ctrl+Alt+E is already the hotkey of the main folder. Please choose another combination.");
    EXPECT_EQ(HotkeyGivenNote(main, kMainFolder, list), L"Ctrl+Alt+E is already the hotkey of the main folder.");
    EXPECT_EQ(HotkeyGivenNote(main, list.size(), list), L"Ctrl+Alt+E is already the hotkey of the main folder.");
    EXPECT_EQ(HotkeyGivenNote(main, 0, {Named(std::wstring(30, L'n'))}),
              L"Ctrl+Alt+E is already the hotkey of \"" + std::wstring(19, L'n') + L"\u2026\".");
    EXPECT_EQ(HotkeyGivenText(*ParseHotkey(L"Ctrl+Alt+2"), 5, list),
              L"Ctrl+Alt+2 is already the hotkey of \"f\". Please choose another combination.");
}

TEST(FavouriteHotkeys, MessagesNameTheFavourite) {
    const std::vector<Favourite> list = {Named(std::wstring(30, L'p')), Named(L"Music")};
    const Hotkey one = *ParseHotkey(L"Ctrl+Alt+1");
    const Hotkey altS{kModAlt, 'S'};
    EXPECT_EQ(FavouriteHotkeysNotTakenText(list, {{0, one, false, {}}, {1, one, true, {}}, {1, altS, false, JudgeHotkey(altS, GermanQ())}}),
              L"Favourite hotkeys that do not work: \"" + std::wstring(23, L'p') +
                  L"\u2026\" (Ctrl+Alt+1, used by another program), \"Music\" (Ctrl+Alt+1, given twice) and "
                  L"\"Music\" (Alt+S, menus need it). Choose others in Settings, Favourites.");
    EXPECT_EQ(FavouriteHotkeysNotTakenText(list, {}), L"");
    // A place past the list (it changed meanwhile) names no favourite.
    EXPECT_EQ(FavouriteHotkeysNotTakenText(list, {{list.size(), one, false, {}}}), L"");
    EXPECT_EQ(HotkeyGivenText(one, list.size(), list),
              L"Ctrl+Alt+1 is already the hotkey of the main folder. Please choose another combination.");
    EXPECT_EQ(FavouriteHotkeyTakenText(list[1], one, L"Hot key is already registered."),
              L"Ctrl+Alt+1, the hotkey of \"Music\", is used by another program. Please choose another "
              L"combination.\n\nHot key is already registered.");
}

TEST(FavouritesSave, TheListRoundTripsWholeAndInOrder) {
    MemoryRegistry reg;
    PutEntry(reg, L"1", L"old one", L"C:\\old");
    PutEntry(reg, L"3", L"old three", L"C:\\old3");
    PutEntry(reg, L"4", L"old folderless", L"");
    PutEntry(reg, L"keep", L"not ours", L"C:\\x");
    const std::vector<Favourite> entries = {
        {L"Tom & Jerry \u00c4\u03a9 \U0001F4C1", L"  C:\\a,b\"c  ", L"vbNormalNoFocus", L"Ctrl+Alt+1"},
        {std::wstring(5000, L'n'), L"%USERPROFILE%\\" + std::wstring(40000, L'f'), L"", L"nonsense"},
        {L"", L"\\\\server\\share", L"vbMaximizedFocus", L""},
    };
    const FavouritesSaveOutcome outcome = SaveFavourites(reg, entries);
    EXPECT_TRUE(outcome.Ok());
    const FavouriteList back = ReadFavourites(reg);
    EXPECT_EQ(back.entries, entries) << "stored as typed, in order";
    // Written under numbers no old entry had, the old ones then removed.
    EXPECT_EQ(registry::SubKeyNames(reg, registry::Root::CurrentUser, registry::kFavouritesKey),
              (std::vector<std::wstring>{L"2", L"5", L"6", L"keep"}));
    EXPECT_EQ(reg.OpenHandles(), 0);
    EXPECT_TRUE(SaveFavourites(reg, {}).Ok());
    EXPECT_TRUE(ReadFavourites(reg).entries.empty());
    // Into an empty list, numbered from 1.
    EXPECT_TRUE(SaveFavourites(reg, {entries[2], entries[0]}).Ok());
    EXPECT_EQ(registry::SubKeyNames(reg, registry::Root::CurrentUser, registry::kFavouritesKey),
              (std::vector<std::wstring>{L"1", L"2", L"keep"}));
}

TEST(FavouritesSave, ARefusedEntryLeavesTheOldListAndIsNamed) {
    struct Case {
        const wchar_t* refusedValue;  // nullptr: every write refused
        const wchar_t* message;
    } cases[] = {
        {L"Hotkey", L"The favourites \"a\" and \"b\" could not be stored, so the list was not saved."},
        {nullptr, L"The favourites \"a\" and \"b\" could not be stored, so the list was not saved."},
    };
    for (const Case& c : cases) {
        MemoryRegistry reg;
        PutEntry(reg, L"1", L"old", L"C:\\old");
        if (c.refusedValue)
            reg.RefuseValue(c.refusedValue, 1018);
        else
            reg.RefuseWrites();
        const std::vector<Favourite> entries = {Named(L"a"), Named(L"b")};
        const FavouritesSaveOutcome outcome = SaveFavourites(reg, entries);
        EXPECT_FALSE(outcome.Ok());
        EXPECT_EQ(outcome.notSaved, (std::vector<std::size_t>{0, 1}));
        EXPECT_FALSE(outcome.firstError.Ok());
        EXPECT_EQ(Names(ReadFavourites(reg)), std::vector<std::wstring>{L"old"}) << "nothing of the new list stays";
        EXPECT_EQ(registry::SubKeyNames(reg, registry::Root::CurrentUser, registry::kFavouritesKey).size(), 1u);
        EXPECT_EQ(FavouritesSaveFailureText(outcome, entries, L"Access is denied."),
                  std::wstring(c.message) +
                      L"\n\nAccess is denied.\n\nYour changes are still in the Favourite folders window.");
    }
}

TEST(FavouritesSave, AnOldEntryThatCannotBeRemovedIsNamed) {
    MemoryRegistry reg;
    PutEntry(reg, L"1", L"stuck", L"C:\\old");
    reg.PutString(kFolders + L"\\1\\Child", L"x", L"y");  // RegDeleteKey refuses a key with subkeys
    const std::vector<Favourite> entries = {Named(L"new")};
    const FavouritesSaveOutcome outcome = SaveFavourites(reg, entries);
    EXPECT_FALSE(outcome.Ok());
    EXPECT_TRUE(outcome.notSaved.empty());
    EXPECT_EQ(outcome.notRemoved, std::vector<std::wstring>{L"stuck"});
    EXPECT_EQ(Names(ReadFavourites(reg)), (std::vector<std::wstring>{L"stuck", L"new"}));
    EXPECT_EQ(FavouritesSaveFailureText(outcome, entries, L"Access is denied."),
              L"The list was saved, but the removed favourite \"stuck\" is still stored.\n\nAccess is denied.");
}
