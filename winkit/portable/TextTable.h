#pragma once
// A program's texts: a table per language of UTF-8 rows, each naming its id
// and checked at compile time to stand in the ids' order with none missing.
// The program keeps only the texts and widens each to UTF-16 when it is first
// shown: half the bytes of wide literals, which the 256 KiB of an i686
// program could not hold in both languages.
#include <cstddef>
#include <string>

#include "Text.h"

namespace winkit {

template <typename Id>
struct TextRow {
    Id id;
    const char* text;
};

// Each row in its id's place, and none missing.
template <typename Id>
constexpr bool InIdOrder(const TextRow<Id>* rows, std::size_t count, std::size_t expected) {
    if (count != expected) return false;
    for (std::size_t index = 0; index < count; ++index)
        if (static_cast<std::size_t>(rows[index].id) != index) return false;
    return true;
}

// The texts alone, without the ids the rows carry for the check.
template <std::size_t kCount>
struct TextTable {
    const char* texts[kCount];
};

template <std::size_t kCount, typename Id>
constexpr TextTable<kCount> TextsOf(const TextRow<Id>* rows) {
    TextTable<kCount> table{};
    for (std::size_t index = 0; index < kCount; ++index) table.texts[index] = rows[index].text;
    return table;
}

// The language in use and each text as shown, widened once.
template <typename Id, std::size_t kCount>
class TextStore {
public:
    explicit TextStore(const TextTable<kCount>* tables) : m_tables(tables) {}
    void Use(Language language) { m_language = language; }
    Language Current() const { return m_language; }
    const wchar_t* In(Language language, Id id) {
        const auto which = static_cast<std::size_t>(language);
        std::wstring& shown = m_shown[which][static_cast<std::size_t>(id)];
        if (shown.empty()) shown = Widened(m_tables[which].texts[static_cast<std::size_t>(id)]);
        return shown.c_str();
    }

private:
    const TextTable<kCount>* m_tables;
    Language m_language = Language::English;
    std::wstring m_shown[kLanguageCount][kCount];
};

}  // namespace winkit
