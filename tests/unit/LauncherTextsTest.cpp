#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "AccessKey.h"
#include "Commands.h"
#include "DialogTables.h"
#include "LauncherTexts.h"
#include "SetupDialogTable.h"
#include "SetupTexts.h"
#include "Switches.h"
#include "TextTable.h"

namespace launcher {
namespace {

using winkit::PixelRect;

constexpr Language kLanguages[] = {Language::English, Language::German};

// The placeholders a text fills, in order of number.
std::set<wchar_t> Placeholders(const wchar_t* text) {
    std::set<wchar_t> found;
    for (const wchar_t* at = text; at[0] != L'\0' && at[1] != L'\0'; ++at)
        if (at[0] == L'{' && at[1] >= L'1' && at[1] <= L'9' && at[2] == L'}') found.insert(at[1]);
    return found;
}

// Every id of a program's table has a German text with the placeholders of
// the English one, and differs from it unless listed as the same.
template <typename Id>
void ExpectGermanForEveryId(std::size_t count, const wchar_t* (*textIn)(Language, Id), const std::set<Id>& same) {
    for (std::size_t index = 0; index < count; ++index) {
        const auto id = static_cast<Id>(index);
        const wchar_t* english = textIn(Language::English, id);
        const wchar_t* german = textIn(Language::German, id);
        ASSERT_TRUE(english != nullptr && german != nullptr && *german != L'\0') << index;
        EXPECT_EQ(Placeholders(english), Placeholders(german)) << index;
        EXPECT_EQ(std::wstring(english) == german, same.count(id) == 1) << index;
    }
}

TEST(LauncherTexts, EveryIdHasAGermanTextWithTheSamePlaceholders) {
    // Names, addresses and words German shares with English.
    ExpectGermanForEveryId<TextId>(kTextCount, TextIn,
                                   {TextId::AboutMaker, TextId::AboutWeb, TextId::AboutVersion, TextId::Ok,
                                    TextId::ColumnName, TextId::NameLabel, TextId::ListComma});
    ExpectGermanForEveryId<setup::TextId>(setup::kTextCount, setup::TextIn,
                                          {setup::TextId::Title, setup::TextId::InstallFrame});
}

TEST(LauncherTexts, FormatFillsEachPlaceholderAndTheLanguageFollowsWindows) {
    UseLanguage(Language::German);
    EXPECT_EQ(Format(TextId::LeftOutMany, {L"3", L"20"}),
              L"Nur die ersten 20 Favoriten werden verwendet; 3 weitere sind gespeichert. OK behält die ersten 20.");
    EXPECT_EQ(ListText({L"A", L"B", L"C"}), L"A, B und C");
    // UTF-8 in the program, UTF-16 on the screen: one, two and three bytes a character.
    const std::pair<const char*, const wchar_t*> widened[] = {
        {u8"Gr\u00F6\u00DFe", L"Gr\u00F6\u00DFe"}, {u8"\u201E\u20AC\u201C", L"\u201E\u20AC\u201C"},
        {u8"\u07FF\u0800\uFFFD", L"\u07FF\u0800\uFFFD"}, {u8"", L""}};
    for (const auto& [utf8, utf16] : widened) EXPECT_EQ(Widened(utf8), utf16);
    EXPECT_EQ(std::wstring(Text(TextId::MenuExplorer)), L"Explorer \u00F6&ffnen");
    EXPECT_NE(Format(ForCount(1, TextId::LeftOutOne, TextId::LeftOutMany), {L"1", L"20"}).find(L"; 1 weiterer ist"),
              std::wstring::npos);
    UseLanguage(Language::English);
    EXPECT_EQ(ListText({L"A", L"B"}), L"A and B");
    EXPECT_EQ(ListText({L"A"}), L"A");
    EXPECT_EQ(Format(TextId::BalloonItem, {L"{2}", L"x"}), L"\"{2}\" (x, {3})") << "an argument is not read again";
    const std::pair<unsigned short, Language> ui[] = {{0x0407, Language::German}, {0x0807, Language::German},
                                                      {0x0C07, Language::German}, {0x0409, Language::English},
                                                      {0x0413, Language::English}, {0x0000, Language::English}};
    for (const auto& [id, language] : ui) EXPECT_EQ(LanguageForUi(id), language) << std::hex << id;
}

// A system error without the system's text, and Setup's whole sentences, in the user's language.
TEST(SetupTexts, FormatFillsEachPlaceholderInTheCurrentLanguage) {
    const struct {
        Language language;
        std::wstring launcherError, setupError, finished, refusedArgument;
    } cases[] = {
        {Language::English, L"Error 1234.", L"Error 1234.",
         L"Installation is finished. Tolvane will now be run. See C:\\T\\Readme.txt for more information on the program.",
         L"\"/Q\": unknown switch"},
        {Language::German, L"Fehler 1234.", L"Fehler 1234.",
         L"Die Installation ist abgeschlossen. Tolvane wird jetzt gestartet. Mehr \u00FCber das Programm steht in "
         L"C:\\T\\Liesmich.txt.",
         L"\u201E/Q\u201C: unbekannter Schalter"},
    };
    for (const auto& c : cases) {
        UseLanguage(c.language);
        setup::UseLanguage(c.language);
        EXPECT_EQ(ErrorNumberText(1234), c.launcherError);
        EXPECT_EQ(setup::ErrorNumberText(1234), c.setupError);
        EXPECT_EQ(setup::Format(setup::TextId::Finished, {L"C:\\T\\"}), c.finished);
        EXPECT_EQ(setup::ParseSwitches({L"/Q"}).error, c.refusedArgument);
        EXPECT_EQ(setup::FormatIn(Language::English, setup::TextId::Moved, {L"C:\\A\\"}),
                  L"Moved from C:\\A\\: its files stay there, as Uninstall leaves them.")
            << "the log's language whatever the user's";
    }
    UseLanguage(Language::English);
    setup::UseLanguage(Language::English);
    // A placeholder without its argument stays as written, nothing read past the list.
    EXPECT_EQ(setup::FormatIn(Language::English, setup::TextId::MoveQuestion, {L"C:\\A\\"}).substr(0, 47),
              L"Tolvane is installed in C:\\A\\.\n\nMove it to {2}?");
    // The tables' compile-time check refuses a table with a row missing or out of place.
    enum class Probe { First, Second };
    using Row = winkit::TextRow<Probe>;
    constexpr Row kInOrder[] = {{Probe::First, "a"}, {Probe::Second, "b"}};
    constexpr Row kFirstMisplaced[] = {{Probe::Second, "b"}, {Probe::Second, "b"}};
    constexpr Row kSwapped[] = {{Probe::Second, "b"}, {Probe::First, "a"}};
    EXPECT_TRUE(winkit::InIdOrder(kInOrder, 2, 2));
    EXPECT_FALSE(winkit::InIdOrder(kInOrder, 1, 2));
    EXPECT_FALSE(winkit::InIdOrder(kFirstMisplaced, 2, 2));
    EXPECT_FALSE(winkit::InIdOrder(kSwapped, 2, 2));
}

// Access keys a window's user can press: each once.
void ExpectUniqueKeys(const std::vector<const wchar_t*>& captions, const std::string& where) {
    std::set<wchar_t> keys;
    for (const wchar_t* caption : captions)
        if (const wchar_t key = AccessKey(caption)) {
            EXPECT_TRUE(keys.insert(key).second) << where << ": " << char(key);
        }
}

TEST(LauncherTexts, TheTrayMenusAccessKeysAreUniqueInEachLanguage) {
    for (const Language language : kLanguages) {
        std::vector<const wchar_t*> captions;
        for (const MenuItem& item : kTrayMenuItems)
            if (item.id != 0) captions.push_back(TextIn(language, item.text));
        ExpectUniqueKeys(captions, "menu");
    }
}

// By more than the pixel at 96 DPI (15 twips) that the rows of one column share.
bool Overlap(const PixelRect& a, const PixelRect& b) {
    constexpr int kShared = 15;
    return a.left + kShared < b.left + b.width && b.left + kShared < a.left + a.width &&
           a.top + kShared < b.top + b.height && b.top + kShared < a.top + a.height;
}

bool Inside(const PixelRect& inner, const PixelRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

// A window of either program with the captions of its table.
struct Window {
    DialogTable table;
    const wchar_t* (*caption)(Language language, unsigned short text);
};

std::vector<Window> EveryWindow() {
    std::vector<Window> windows;
    for (const DialogTable& table : kDialogTables)
        windows.push_back({table, [](Language language, unsigned short text) {
                               return TextIn(language, static_cast<TextId>(text));
                           }});
    windows.push_back({{"Setup", setup::dialog::kControls, setup::dialog::kControlCount, setup::dialog::kClientWidth,
                        setup::dialog::kClientHeight},
                       [](Language language, unsigned short text) {
                           return setup::TextIn(language, static_cast<setup::TextId>(text));
                       }});
    return windows;
}

TEST(DialogTables, EveryWindowIsConsistentInBothLanguages) {
    // At 1440 DPI a pixel is a twip: the rectangles are the table's own.
    constexpr int kTwips = winkit::kTwipsPerInch;
    for (const Language language : kLanguages) {
        for (const auto& [table, caption] : EveryWindow()) {
            const std::string where = std::string(table.name) + (language == Language::German ? " (German)" : "");
            std::set<int> ids;
            std::set<int> tabs;
            std::vector<const wchar_t*> captions;
            const PixelRect client{0, 0, table.clientWidth, table.clientHeight};
            for (std::size_t index = 0; index < table.count; ++index) {
                const ControlSpec& row = table.rows[index];
                EXPECT_TRUE(ids.insert(row.id).second) << where << ": id " << row.id;
                EXPECT_TRUE(tabs.insert(row.tabIndex).second) << where << ": tab " << row.tabIndex;
                captions.push_back(row.caption != nullptr ? row.caption : caption(language, row.text));
                const PixelRect rect = winkit::ControlRect(table.rows, table.count, index, kTwips);
                EXPECT_TRUE(Inside(rect, client)) << where << ": " << row.id << " leaves the client area";
                // Neighbours in one frame apart; only a stand-in takes another's very place.
                for (std::size_t other = 0; other < index; ++other) {
                    const PixelRect there = winkit::ControlRect(table.rows, table.count, other, kTwips);
                    const bool standIn = there.left == rect.left && there.top == rect.top && there.width == rect.width;
                    EXPECT_TRUE(table.rows[other].container != row.container || !Overlap(rect, there) || standIn)
                        << where << ": " << row.id << " lies on " << table.rows[other].id;
                }
                if (row.container == kInWindow) continue;
                const std::size_t frame = winkit::RowOfId(table.rows, table.count, row.container);
                ASSERT_LT(frame, table.count) << where << ": " << row.id << " names no row";
                EXPECT_EQ(table.rows[frame].kind, ControlKind::Frame) << where << ": " << row.id;
                EXPECT_TRUE(Inside(rect, winkit::ControlRect(table.rows, table.count, frame, kTwips)))
                    << where << ": " << row.id << " leaves its frame";
            }
            ExpectUniqueKeys(captions, where);
            EXPECT_NE(winkit::DefaultButton(table.rows, table.count), 0) << where;
            EXPECT_NE(winkit::CancelButton(table.rows, table.count), 0) << where;
        }
    }
}

// Setup's window grew for German: its buttons grew apart from nothing and stay
// in the middle of what holds them (as drawn, within a few pixels).
TEST(DialogTables, SetupsButtonsStayInTheMiddle) {
    constexpr int kTwips = winkit::kTwipsPerInch;
    const ControlSpec* rows = setup::dialog::kControls;
    const std::size_t count = setup::dialog::kControlCount;
    for (std::size_t index = 0; index < count; ++index) {
        if (rows[index].kind != ControlKind::Button) continue;
        const PixelRect button = winkit::ControlRect(rows, count, index, kTwips);
        const PixelRect around =
            rows[index].container == kInWindow
                ? PixelRect{0, 0, setup::dialog::kClientWidth, setup::dialog::kClientHeight}
                : winkit::ControlRect(rows, count, winkit::RowOfId(rows, count, rows[index].container), kTwips);
        EXPECT_NEAR(2 * button.left + button.width, 2 * around.left + around.width, 2 * 60) << rows[index].id;
    }
}

}  // namespace
}  // namespace launcher
