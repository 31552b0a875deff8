#include "Hotkey.h"

#include <cwctype>
#include <vector>

#include "Join.h"
#include "LauncherTexts.h"
#include "Text.h"

namespace launcher {

namespace {

// Virtual-key codes, as Windows defines them.
constexpr unsigned kKeySpace = 0x20;
constexpr unsigned kKeyF1 = 0x70;
constexpr unsigned kKeyF24 = 0x87;

// TextId::Count: shown as stored, in every language.
struct NamedKey {
    const wchar_t* name;
    unsigned key;
    bool extended;  // the hotkey control shows it right only with HOTKEYF_EXT
    TextId shown;
};
constexpr NamedKey kNamedKeys[] = {
    {L"Space", kKeySpace, false, TextId::KeySpace}, {L"Left", 0x25, true, TextId::KeyLeft},
    {L"Up", 0x26, true, TextId::KeyUp},              {L"Right", 0x27, true, TextId::KeyRight},
    {L"Down", 0x28, true, TextId::KeyDown},          {L"Insert", 0x2D, true, TextId::KeyInsert},
    {L"Delete", 0x2E, true, TextId::KeyDelete},      {L"Home", 0x24, true, TextId::KeyHome},
    {L"End", 0x23, true, TextId::KeyEnd},            {L"PageUp", 0x21, true, TextId::KeyPageUp},
    {L"PageDown", 0x22, true, TextId::KeyPageDown},  {L"Pause", 0x13, false, TextId::Count},
};

struct NamedModifier {
    const wchar_t* name;
    unsigned bit;
    TextId shown;
};
// Also the order in which FormatHotkey writes them.
constexpr NamedModifier kModifiers[] = {{L"Win", kModWin, TextId::Count},
                                        {L"Ctrl", kModControl, TextId::KeyCtrl},
                                        {L"Alt", kModAlt, TextId::Count},
                                        {L"Shift", kModShift, TextId::KeyShift}};

std::wstring NameOf(const wchar_t* stored, TextId shown, bool forUser) {
    return forUser && shown != TextId::Count ? std::wstring(Text(shown)) : std::wstring(stored);
}

bool SameName(const std::wstring& a, const wchar_t* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != L'\0'; ++i)
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
    return i == a.size() && b[i] == L'\0';
}

std::optional<unsigned> KeyForName(const std::wstring& name) {
    if (name.size() == 1) {
        const auto ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(name[0])));
        if ((ch >= L'A' && ch <= L'Z') || (ch >= L'0' && ch <= L'9')) return static_cast<unsigned>(ch);
        return std::nullopt;
    }
    if ((name[0] == L'F' || name[0] == L'f') && name.size() <= 3) {
        unsigned number = 0;
        for (std::size_t i = 1; i < name.size(); ++i) {
            if (name[i] < L'0' || name[i] > L'9') return std::nullopt;
            number = number * 10 + static_cast<unsigned>(name[i] - L'0');
        }
        if (name[1] != L'0' && number >= 1 && number <= 24) return kKeyF1 + number - 1;
        return std::nullopt;
    }
    for (const NamedKey& named : kNamedKeys)
        if (SameName(name, named.name)) return named.key;
    return std::nullopt;
}

bool IsExtended(unsigned key) {
    for (const NamedKey& named : kNamedKeys)
        if (named.key == key) return named.extended;
    return false;
}

bool IsLetterOrDigit(unsigned key) { return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'); }

}  // namespace

bool IsUsableHotkey(const Hotkey& hotkey) {
    return !hotkey.IsNone() && (hotkey.modifiers & (kModControl | kModAlt | kModWin)) != 0;
}

std::optional<Hotkey> ParseHotkey(const std::wstring& text) {
    if (winkit::IsBlank(text)) return Hotkey{};
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (std::size_t plus = text.find(L'+'); ; plus = text.find(L'+', start)) {
        parts.push_back(winkit::Trimmed(text.substr(start, plus == std::wstring::npos ? std::wstring::npos : plus - start)));
        if (plus == std::wstring::npos) break;
        start = plus + 1;
    }
    Hotkey hotkey;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].empty()) return std::nullopt;
        const NamedModifier* modifier = nullptr;
        for (const NamedModifier& named : kModifiers)
            if (SameName(parts[i], named.name)) modifier = &named;
        if (modifier != nullptr) {
            if ((hotkey.modifiers & modifier->bit) != 0) return std::nullopt;
            hotkey.modifiers |= modifier->bit;
            continue;
        }
        const auto key = KeyForName(parts[i]);
        if (!key || i + 1 != parts.size()) return std::nullopt;
        hotkey.key = *key;
    }
    if (!IsUsableHotkey(hotkey)) return std::nullopt;
    return hotkey;
}

namespace {

std::wstring Spelled(const Hotkey& hotkey, bool forUser) {
    if (hotkey.IsNone()) return std::wstring();
    std::wstring text;
    for (const NamedModifier& named : kModifiers)
        if ((hotkey.modifiers & named.bit) != 0) text += NameOf(named.name, named.shown, forUser) + L"+";
    if (IsLetterOrDigit(hotkey.key)) return text + static_cast<wchar_t>(hotkey.key);
    if (hotkey.key >= kKeyF1 && hotkey.key <= kKeyF24) {
        const unsigned number = hotkey.key - kKeyF1 + 1;
        text += L'F';
        if (number >= 10) text += static_cast<wchar_t>(L'0' + number / 10);
        return text + static_cast<wchar_t>(L'0' + number % 10);
    }
    for (const NamedKey& named : kNamedKeys)
        if (named.key == hotkey.key) return text + NameOf(named.name, named.shown, forUser);
    return std::wstring();  // a key without a name cannot be stored
}

}  // namespace

std::wstring FormatHotkey(const Hotkey& hotkey) { return Spelled(hotkey, false); }

std::wstring ShownHotkey(const Hotkey& hotkey) { return Spelled(hotkey, true); }

// HOTKEYF_SHIFT 0x01, HOTKEYF_CONTROL 0x02, HOTKEYF_ALT 0x04, HOTKEYF_EXT 0x08.
Hotkey FromHotkeyControl(unsigned word) {
    const unsigned flags = (word >> 8) & 0xFF;
    Hotkey hotkey;
    hotkey.key = word & 0xFF;
    if (hotkey.key == 0) return Hotkey{};
    if (flags & 0x01) hotkey.modifiers |= kModShift;
    if (flags & 0x02) hotkey.modifiers |= kModControl;
    if (flags & 0x04) hotkey.modifiers |= kModAlt;
    return hotkey;
}

unsigned ToHotkeyControl(const Hotkey& hotkey) {
    if (hotkey.IsNone()) return 0;
    unsigned flags = 0;
    if (hotkey.modifiers & kModShift) flags |= 0x01;
    if (hotkey.modifiers & kModControl) flags |= 0x02;
    if (hotkey.modifiers & kModAlt) flags |= 0x04;
    if (IsExtended(hotkey.key)) flags |= 0x08;
    return (flags << 8) | (hotkey.key & 0xFF);
}

std::wstring HotkeyTakenText(const Hotkey& hotkey) {
    return Format(TextId::HotkeyTaken, {ShownHotkey(hotkey)});
}

std::wstring HotkeyTakenInSettingsText(const Hotkey& hotkey, const std::wstring& systemMessage) {
    return Format(TextId::HotkeyTakenInSettings, {ShownHotkey(hotkey), systemMessage});
}

}  // namespace launcher
