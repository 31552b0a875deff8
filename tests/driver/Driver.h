#pragma once
// What TestDriver's commands share: the JSON facts they print, their
// arguments, the harness's time factor, and each command (one file per job;
// TestDriver.cpp dispatches).
#include <windows.h>

#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "Json.h"

namespace driver {

using driver_json::JsonString;

// Builds one JSON line; values are added in call order.
class Fact {
public:
    explicit Fact(const char* kind) { m_text = std::string("{\"fact\":\"") + kind + "\""; }
    Fact& Str(const char* key, const std::wstring& value)
    {
        m_text += std::string(",\"") + key + "\":" + JsonString(value);
        return *this;
    }
    Fact& Num(const char* key, long long value)
    {
        m_text += std::string(",\"") + key + "\":" + std::to_string(value);
        return *this;
    }
    Fact& Bool(const char* key, bool value)
    {
        m_text += std::string(",\"") + key + "\":" + (value ? "true" : "false");
        return *this;
    }
    Fact& Hwnd(const char* key, HWND value) { return Num(key, static_cast<long long>(reinterpret_cast<INT_PTR>(value))); }
    Fact& Rect(const char* key, const RECT& r)
    {
        m_text += std::string(",\"") + key + "\":[" + std::to_string(r.left) + "," + std::to_string(r.top) + ","
            + std::to_string(r.right) + "," + std::to_string(r.bottom) + "]";
        return *this;
    }
    // Writes straight to the handle: the C runtime's text mode would mangle
    // UTF-8 and buffer lines that the tests wait for.
    void Emit()
    {
        m_text += "}\n";
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), m_text.data(), static_cast<DWORD>(m_text.size()), &written, nullptr);
    }

private:
    std::string m_text;
};

// The harness's factor for a busy machine (tolvane_e2e.time_scale), so that
// the driver's own waits stretch as the harness's do.
inline DWORD Scaled(DWORD ms)
{
    static const double scale = [] {
        wchar_t text[32] = {};
        const DWORD length = GetEnvironmentVariableW(L"TOLVANE_E2E_TIME_SCALE", text, 32);
        const double value = length > 0 && length < 32 ? std::wcstod(text, nullptr) : 1.0;
        return value > 1.0 ? value : 1.0;
    }();
    return static_cast<DWORD>(ms * scale);
}

inline int Fail(const std::wstring& message)
{
    Fact("error").Str("message", message).Emit();
    return 2;
}

class Args {
public:
    Args(int argc, wchar_t** argv, int first)
    {
        for (int i = first; i < argc; ++i) {
            const std::wstring arg = argv[i];
            if (arg.size() > 2 && arg.compare(0, 2, L"--") == 0) {
                const std::wstring name = arg.substr(2);
                if (i + 1 < argc && std::wstring(argv[i + 1]).compare(0, 2, L"--") != 0 && !IsFlag(name)) {
                    m_options[name] = argv[++i];
                } else {
                    m_options[name] = L"1";
                }
            } else {
                m_positional.push_back(arg);
            }
        }
    }
    bool Has(const std::wstring& name) const { return m_options.count(name) != 0; }
    std::wstring Get(const std::wstring& name, const std::wstring& fallback = L"") const
    {
        const auto it = m_options.find(name);
        return it == m_options.end() ? fallback : it->second;
    }
    long long Number(const std::wstring& name, long long fallback) const
    {
        return Has(name) ? std::wcstoll(Get(name).c_str(), nullptr, 0) : fallback;
    }
    const std::vector<std::wstring>& Positional() const { return m_positional; }

private:
    static bool IsFlag(const std::wstring& name) { return name == L"visible" || name == L"all" || name == L"gone" || name == L"64"; }
    std::map<std::wstring, std::wstring> m_options;
    std::vector<std::wstring> m_positional;
};

inline HWND ParseHwnd(const std::wstring& text)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(text.c_str(), nullptr, 0)));
}

// Windows.cpp
std::wstring WindowText(HWND hwnd);
std::wstring ClassOf(HWND hwnd);
int CmdWindows(const Args& args);
int CmdWaitWindow(const Args& args);
int CmdControls(const Args& args);
int CmdFocus(const Args& args);
int CmdCursor(const Args& args);
int CmdSetForeground(const Args& args);
int CmdClose(const Args& args);
int CmdPost(const Args& args);
int CmdHoldWindow(const Args& args);

// Keys.cpp
int CmdKeys(const Args& args);
int CmdType(const Args& args);
int CmdHoldHotkey(const Args& args);

// Processes.cpp
int CmdProcesses(const Args& args);
int CmdWatch(const Args& args);
int CmdAlive(const Args& args);
int CmdWaitIdle(const Args& args);
int CmdHoldMutex(const Args& args);

// Shell.cpp
int CmdShellReady(const Args& args);
int CmdTrayDelete(const Args& args);
int CmdTaskbarCreated(const Args& args);

// Registry.cpp
int CmdRegGet(const Args& args);

// Menus.cpp
int CmdMenu(const Args& args);
int CmdListView(const Args& args);

} // namespace driver
