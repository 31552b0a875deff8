#pragma once
// Small text tests and shapes shared by the launcher and Setup: blanks at the
// ends, "A, B and C", and the two forms of a drive-letter path.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace winkit {

// What the settings, favourites and hotkeys count as blank around a text.
// std::wstring's own searches, not std::wstring_view's: those are instantiated
// in every program that uses them, and Setup has no byte to spare.
inline constexpr wchar_t kSpacesAndTabs[] = L" \t";

// The text without blanks at either end; "" when it is all blanks.
std::wstring Trimmed(const std::wstring& text);

inline bool IsBlank(const std::wstring& text, const wchar_t* blanks = kSpacesAndTabs) {
    return text.find_first_not_of(blanks) == std::wstring::npos;
}

// The language a program speaks, chosen once at start: German for any German
// display language (the primary language of GetUserDefaultUILanguage's LANGID),
// English otherwise.
enum class Language : unsigned char { English, German };
inline constexpr std::size_t kLanguageCount = 2;
Language LanguageForUi(unsigned short languageId);

// A text table's UTF-8 as the compiler wrote it (well-formed, nothing beyond
// U+FFFF) in UTF-16: the tables hold UTF-8, half the bytes of wide literals.
std::wstring Widened(const char* text);

// The text with {1} ... {9} replaced by the arguments in order; a placeholder
// without its argument stays as written.
std::wstring FilledIn(const wchar_t* text, std::initializer_list<std::wstring_view> arguments);

// "A", "A and B", "A, B and C".
std::wstring Listed(const std::vector<std::wstring>& items);

inline bool IsPathSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

inline bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// "X:", in either case: a drive letter, with or without a path after it.
inline bool StartsWithDriveLetter(std::wstring_view text) {
    return text.size() >= 2 && IsAsciiLetter(text[0]) && text[1] == L':';
}

// "X:\" or "X:/": the one form that names the same folder wherever the
// program or Windows happens to be (a bare "X:" means that drive's current folder).
inline bool StartsWithDriveRoot(std::wstring_view text) {
    return text.size() >= 3 && StartsWithDriveLetter(text) && IsPathSeparator(text[2]);
}

}  // namespace winkit
