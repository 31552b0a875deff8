// TestDriver's keyboard: chords and text sent with SendInput, and a key
// combination held as another program would.
#include "Driver.h"

#include <vector>

namespace driver {

namespace {

struct NamedKey {
    const wchar_t* name;
    WORD vk;
};

const NamedKey kNamedKeys[] = {
    { L"enter", VK_RETURN }, { L"return", VK_RETURN }, { L"esc", VK_ESCAPE }, { L"escape", VK_ESCAPE },
    { L"tab", VK_TAB }, { L"space", VK_SPACE }, { L"up", VK_UP }, { L"down", VK_DOWN }, { L"left", VK_LEFT },
    { L"right", VK_RIGHT }, { L"home", VK_HOME }, { L"end", VK_END }, { L"backspace", VK_BACK },
    { L"delete", VK_DELETE }, { L"alt", VK_MENU }, { L"ctrl", VK_CONTROL }, { L"shift", VK_SHIFT },
    { L"f1", VK_F1 }, { L"f4", VK_F4 }, { L"f10", VK_F10 }, { L"f12", VK_F12 }, { L"apps", VK_APPS },
    { L"win", VK_LWIN },
};

bool KeyFromName(const std::wstring& name, WORD& vk)
{
    for (const NamedKey& key : kNamedKeys) {
        if (_wcsicmp(key.name, name.c_str()) == 0) {
            vk = key.vk;
            return true;
        }
    }
    if (name.size() == 1) {
        const wchar_t c = name[0];
        if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z')) {
            vk = static_cast<WORD>(towupper(c));
            return true;
        }
        if (c >= L'0' && c <= L'9') {
            vk = static_cast<WORD>(c);
            return true;
        }
    }
    return false;
}

INPUT KeyInput(WORD vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_HOME || vk == VK_END
        || vk == VK_DELETE) {
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    }
    return input;
}

bool SendAll(std::vector<INPUT>& inputs)
{
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

} // namespace

// Each positional argument is one chord such as "down", "enter" or "alt+b".
int CmdKeys(const Args& args)
{
    const DWORD delay = static_cast<DWORD>(args.Number(L"delay", 60));
    for (const std::wstring& chord : args.Positional()) {
        std::vector<WORD> keys;
        size_t start = 0;
        while (start <= chord.size()) {
            size_t plus = chord.find(L'+', start);
            if (plus == start && plus + 1 == chord.size()) {
                plus = std::wstring::npos;  // a lone "+" key
            }
            const std::wstring part = chord.substr(start, plus == std::wstring::npos ? std::wstring::npos : plus - start);
            WORD vk = 0;
            if (!KeyFromName(part, vk)) {
                return Fail(L"unknown key: " + part);
            }
            keys.push_back(vk);
            if (plus == std::wstring::npos) {
                break;
            }
            start = plus + 1;
        }
        std::vector<INPUT> inputs;
        for (const WORD vk : keys) {
            inputs.push_back(KeyInput(vk, false));
        }
        for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
            inputs.push_back(KeyInput(*it, true));
        }
        const bool sent = SendAll(inputs);
        Fact("key").Str("chord", chord).Bool("ok", sent).Emit();
        if (!sent) {
            return 1;
        }
        Sleep(delay);
    }
    return 0;
}

namespace {

// The edit box that has the keyboard focus, if the focus is in one.
HWND FocusedEdit()
{
    const HWND foreground = GetForegroundWindow();
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!foreground || !GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info) || !info.hwndFocus) {
        return nullptr;
    }
    return _wcsicmp(ClassOf(info.hwndFocus).c_str(), L"Edit") == 0 ? info.hwndFocus : nullptr;
}

} // namespace

// Types text as unicode characters, so letters outside the keyboard layout arrive too.
// On a busy machine the program may not have read the last keys when they are
// all sent, and a menu its thread opens next takes them instead (the tray menu
// and the Settings dialog share a thread): an edit box typed into is read back
// until it shows the text.
int CmdType(const Args& args)
{
    const DWORD delay = static_cast<DWORD>(args.Number(L"delay", 15));
    const HWND edit = FocusedEdit();
    for (const std::wstring& text : args.Positional()) {
        for (const wchar_t c : text) {
            std::vector<INPUT> inputs(2);
            for (int i = 0; i < 2; ++i) {
                inputs[static_cast<size_t>(i)].type = INPUT_KEYBOARD;
                inputs[static_cast<size_t>(i)].ki.wScan = c;
                inputs[static_cast<size_t>(i)].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
            }
            if (!SendAll(inputs)) {
                return Fail(L"SendInput failed");
            }
            Sleep(delay);
        }
        bool shown = edit == nullptr;
        for (const ULONGLONG giveUp = GetTickCount64() + Scaled(5000); !shown; Sleep(20)) {
            shown = WindowText(edit).find(text) != std::wstring::npos;
            if (GetTickCount64() >= giveUp) break;
        }
        Fact("typed").Str("text", text).Bool("shown", shown).Emit();
    }
    return 0;
}

// Holds a key combination as another program would (RegisterHotKey), prints
// "held" and keeps it for --ms, counting the WM_HOTKEY it receives.
int CmdHoldHotkey(const Args& args)
{
    const UINT modifiers = static_cast<UINT>(args.Number(L"mods", 0));
    const UINT vk = static_cast<UINT>(args.Number(L"vk", 0));
    const DWORD ms = static_cast<DWORD>(args.Number(L"ms", 10000));
    const BOOL held = RegisterHotKey(nullptr, 1, modifiers, vk);
    Fact("held").Bool("ok", held != FALSE).Num("error", held ? 0 : GetLastError()).Emit();
    if (!held) {
        return 1;
    }
    const DWORD end = GetTickCount() + ms;
    int presses = 0;
    for (DWORD now = GetTickCount(); static_cast<int>(end - now) > 0; now = GetTickCount()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_HOTKEY) {
                ++presses;
            }
        }
    }
    UnregisterHotKey(nullptr, 1);
    Fact("released").Num("presses", presses).Emit();
    return 0;
}

} // namespace driver
