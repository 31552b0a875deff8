#include "LauncherTexts.h"

#include "Decimal.h"
#include "LauncherTextTables.h"

namespace launcher {

namespace {

Language g_language = Language::English;
std::wstring g_shown[kLanguageCount][kTextCount];

}  // namespace

void UseLanguage(Language language) { g_language = language; }

Language CurrentLanguage() { return g_language; }

const wchar_t* TextIn(Language language, TextId id) {
    std::wstring& shown = g_shown[static_cast<std::size_t>(language)][static_cast<std::size_t>(id)];
    if (shown.empty()) shown = Widened(TableText(language, id));
    return shown.c_str();
}

const wchar_t* CaptionText(unsigned short text) { return Text(static_cast<TextId>(text)); }

std::wstring Format(TextId id, std::initializer_list<std::wstring_view> arguments) {
    std::wstring text;
    for (const wchar_t* at = Text(id); *at != L'\0'; ++at) {
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

std::wstring ListText(const std::vector<std::wstring>& items) {
    std::wstring text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? L"" : Text(i + 1 == items.size() ? TextId::ListAnd : TextId::ListComma)) + items[i];
    return text;
}

}  // namespace launcher
