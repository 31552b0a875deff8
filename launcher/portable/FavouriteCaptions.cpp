#include "FavouriteCaptions.h"

#include <algorithm>
#include <cstdlib>

#include "Text.h"

namespace launcher {

namespace {

bool IsDirectionalFormatting(wchar_t ch) {
    return ch == 0x061C || ch == 0x200E || ch == 0x200F || (ch >= 0x202A && ch <= 0x202E) ||
           (ch >= 0x2066 && ch <= 0x2069);
}

}  // namespace

std::wstring DisplayedText(const std::wstring& text) {
    std::wstring shown;
    shown.reserve(text.size());
    for (wchar_t ch : text) {
        // An override (U+202E) would show the text reversed, so that one name
        // could pass for another; the marks and isolates go with it.
        if (IsDirectionalFormatting(ch)) continue;
        // A tab would start the menu's column of shortcut keys; line breaks show as boxes.
        shown += ch < L' ' || ch == 0x7F ? L' ' : ch;
    }
    return shown;
}

std::wstring ShortName(const Favourite& favourite, std::size_t length) {
    std::wstring text = DisplayedText(favourite.name);
    if (winkit::IsBlank(text)) text = DisplayedText(favourite.folder);
    if (text.size() <= length || length == 0) return text;
    std::size_t cut = length - 1;
    // Half a surrogate pair would show as a box.
    if (cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] < 0xDC00) --cut;
    return text.substr(0, cut) + L"\u2026";
}

std::wstring FavouriteMenuCaption(std::size_t index, const Favourite& favourite, const std::wstring& indent,
                                  const Hotkey& keys) {
    std::wstring caption;
    if (index < 9)
        caption = std::wstring(L"&") + static_cast<wchar_t>(L'1' + index) + L" ";
    else if (index == 9)
        caption = L"&0 ";
    else
        caption = indent;
    for (wchar_t ch : ShortName(favourite, kMenuNameLength)) {
        if (ch == L'&') caption += L'&';
        caption += ch;
    }
    return MenuCaptionWithKeys(caption, keys);
}

std::wstring MenuCaptionWithKeys(const std::wstring& caption, const Hotkey& keys) {
    std::wstring text = caption.substr(0, caption.find(L'\t'));
    if (!keys.IsNone()) text += L"\t" + ShownHotkey(keys);
    return text;
}

std::wstring BlanksOfWidth(int width, const std::vector<Blank>& blanks) {
    int widest = 0;
    for (const Blank& blank : blanks) widest = std::max(widest, blank.width);
    if (width <= 0 || widest <= 0) return std::wstring();
    // fewest[w]: the fewest blanks that make w pixels; which: the last of them.
    const std::size_t limit = static_cast<std::size_t>(width) + static_cast<std::size_t>(widest);
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> fewest(limit + 1, kNone);
    std::vector<std::size_t> which(limit + 1, 0);
    fewest[0] = 0;
    for (std::size_t w = 1; w <= limit; ++w) {
        for (std::size_t b = 0; b < blanks.size(); ++b) {
            const std::size_t bw = blanks[b].width > 0 ? static_cast<std::size_t>(blanks[b].width) : 0;
            if (bw == 0 || bw > w || fewest[w - bw] == kNone) continue;
            if (fewest[w - bw] + 1 < fewest[w]) {
                fewest[w] = fewest[w - bw] + 1;
                which[w] = b;
            }
        }
    }
    std::size_t best = 0;
    auto distance = [width](std::size_t w) { return std::abs(static_cast<int>(w) - width); };
    for (std::size_t w = 1; w <= limit; ++w) {
        if (fewest[w] == kNone) continue;
        if (distance(w) < distance(best) || (distance(w) == distance(best) && fewest[w] < fewest[best])) best = w;
    }
    std::vector<std::size_t> count(blanks.size(), 0);
    for (std::size_t w = best; w > 0; w -= static_cast<std::size_t>(blanks[which[w]].width)) ++count[which[w]];
    // The widest first (a sort would cost the launcher more than this loop).
    std::wstring text;
    for (int each = widest; each > 0; --each)
        for (std::size_t b = 0; b < blanks.size(); ++b)
            if (blanks[b].width == each) text.append(count[b], blanks[b].character);
    return text;
}

}  // namespace launcher
