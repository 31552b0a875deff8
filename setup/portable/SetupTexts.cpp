#include "SetupTexts.h"

#include "Decimal.h"
#include "SetupTextTables.h"

namespace setup {

namespace {

winkit::TextStore<TextId, kTextCount> g_texts(kTextTables);

}  // namespace

void UseLanguage(Language language) { g_texts.Use(language); }

Language CurrentLanguage() { return g_texts.Current(); }

const wchar_t* TextIn(Language language, TextId id) { return g_texts.In(language, id); }

const wchar_t* CaptionText(unsigned short text) { return Text(static_cast<TextId>(text)); }

std::wstring FormatIn(Language language, TextId id, std::initializer_list<std::wstring_view> arguments) {
    return winkit::FilledIn(TextIn(language, id), arguments);
}

std::wstring ErrorNumberText(unsigned long code) { return Format(TextId::ErrorNumber, {winkit::Decimal(code)}); }

}  // namespace setup
