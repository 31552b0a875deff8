#include "Text.h"

namespace winkit {

std::wstring Trimmed(const std::wstring& text) {
    const auto first = text.find_first_not_of(kSpacesAndTabs);
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(kSpacesAndTabs) - first + 1);
}

Language LanguageForUi(unsigned short languageId) {
    constexpr unsigned short kPrimaryMask = 0x3FF;
    constexpr unsigned short kGermanPrimary = 0x07;
    return (languageId & kPrimaryMask) == kGermanPrimary ? Language::German : Language::English;
}

std::wstring Widened(const char* text) {
    std::wstring wide;
    for (auto at = reinterpret_cast<const unsigned char*>(text); *at != 0; ++at) {
        unsigned code = *at;
        if (code >= 0xE0) {
            code = ((code & 0x0Fu) << 12) | ((at[1] & 0x3Fu) << 6) | (at[2] & 0x3Fu);
            at += 2;
        } else if (code >= 0xC0) {
            code = ((code & 0x1Fu) << 6) | (at[1] & 0x3Fu);
            at += 1;
        }
        wide += static_cast<wchar_t>(code);
    }
    return wide;
}

std::wstring FilledIn(const wchar_t* text, std::initializer_list<std::wstring_view> arguments) {
    std::wstring filled;
    for (const wchar_t* at = text; *at != L'\0'; ++at) {
        const unsigned number = static_cast<unsigned>(at[1] - L'1');
        if (at[0] == L'{' && number < arguments.size() && at[2] == L'}') {
            const std::wstring_view argument = arguments.begin()[number];
            filled.append(argument.data(), argument.size());
            at += 2;
        } else {
            filled += *at;
        }
    }
    return filled;
}

std::wstring Listed(const std::vector<std::wstring>& items) {
    std::wstring text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? L"" : i + 1 == items.size() ? L" and " : L", ") + items[i];
    return text;
}

}  // namespace winkit
