#include "LauncherTexts.h"

#include "Decimal.h"
#include "LauncherTextTables.h"

namespace launcher {

namespace {

winkit::TextStore<TextId, kTextCount> g_texts(kTextTables);

}  // namespace

void UseLanguage(Language language) { g_texts.Use(language); }

Language CurrentLanguage() { return g_texts.Current(); }

const wchar_t* TextIn(Language language, TextId id) { return g_texts.In(language, id); }

const wchar_t* CaptionText(unsigned short text) { return Text(static_cast<TextId>(text)); }

std::wstring Format(TextId id, std::initializer_list<std::wstring_view> arguments) {
    return winkit::FilledIn(Text(id), arguments);
}

std::wstring ErrorNumberText(unsigned long code) { return Format(TextId::ErrorNumber, {winkit::Decimal(code)}); }

std::wstring ListText(const std::vector<std::wstring>& items) {
    std::wstring text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? L"" : Text(i + 1 == items.size() ? TextId::ListAnd : TextId::ListComma)) + items[i];
    return text;
}

}  // namespace launcher
