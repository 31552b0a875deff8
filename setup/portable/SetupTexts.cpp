#include "SetupTexts.h"

#include "Decimal.h"
#include "SetupTextTables.h"

namespace setup {

namespace {

Language g_language = Language::English;
std::wstring g_shown[kLanguageCount][kTextCount];

}  // namespace

void UseLanguage(Language language) { g_language = language; }

Language CurrentLanguage() { return g_language; }

const wchar_t* TextIn(Language language, TextId id) {
    std::wstring& shown = g_shown[static_cast<std::size_t>(language)][static_cast<std::size_t>(id)];
    if (shown.empty()) shown = winkit::Widened(TableText(language, id));
    return shown.c_str();
}

const wchar_t* CaptionText(unsigned short text) { return Text(static_cast<TextId>(text)); }

std::wstring FormatIn(Language language, TextId id, std::initializer_list<std::wstring_view> arguments) {
    std::wstring text;
    for (const wchar_t* at = TextIn(language, id); *at != L'\0'; ++at) {
        const unsigned number = static_cast<unsigned>(at[1] - L'1');
        if (at[0] == L'{' && number < arguments.size() && at[2] == L'}') {
            const std::wstring_view argument = arguments.begin()[number];
            text.append(argument.data(), argument.size());
            at += 2;
        } else {
            text += *at;
        }
    }
    return text;
}

std::wstring ErrorNumberText(unsigned long code) { return Format(TextId::ErrorNumber, {winkit::Decimal(code)}); }

}  // namespace setup
