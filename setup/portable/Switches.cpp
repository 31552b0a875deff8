#include "Switches.h"

#include <cwctype>

#include "Text.h"

namespace setup {

// A message box wraps lines where its font and width say, also after a "/",
// and lays tabs out by that font: each switch has a line of its own, its
// explanation follows indented, and no line is long enough to be wrapped.
const wchar_t kSwitchesHelp[] =
    L"Setup.exe [/S] [/DIR=folder]\n"
    L"      [/AUTOSTART] [/LOG=file]\n"
    L"Setup.exe /UNINSTALL [/S] [/LOG=file]\n\n"
    L"/S\n"
    L"      silent: no window, no messages;\n"
    L"      the exit code tells the result\n"
    L"/DIR=folder\n"
    L"      the folder to install to\n"
    L"      (C:\\Tolvane\\ when not given),\n"
    L"      quoted when it holds blanks:\n"
    L"      \"/DIR=C:\\My Tools\\Tolvane\"\n"
    L"      or \"/DIR=C:\\My Tools\\\" /S\n"
    L"/AUTOSTART\n"
    L"      Tolvane starts for every user\n"
    L"      at logon\n"
    L"/UNINSTALL\n"
    L"      removes the registry entries,\n"
    L"      as the Uninstall button does\n"
    L"/LOG=file\n"
    L"      appends what Setup does to the\n"
    L"      file (UTF-8)\n"
    L"/?\n"
    L"      this list\n\n"
    L"Exit codes:\n"
    L"      0 done\n"
    L"      1603 a step failed\n"
    L"      1622 the log failed\n"
    L"      1639 a switch was not understood";

namespace {

std::wstring Upper(const std::wstring& text) {
    std::wstring upper = text;
    for (wchar_t& ch : upper) ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    return upper;
}

}  // namespace

SwitchesOrError ParseSwitches(const std::vector<std::wstring>& arguments) {
    SwitchesOrError result;
    Switches& s = result.switches;
    // CommandLineToArgvW reads the backslash of "/DIR=C:\My Tools\" /S as
    // escaping the closing quote: the quote and the rest of the line join the
    // value. No path holds a quote, so the value ends at that backslash and the
    // rest, split at blanks, is read as switches before the next argument.
    std::wstring rest;
    std::size_t from = std::wstring::npos;
    for (std::size_t next = 0;;) {
        std::wstring argument;
        const std::size_t start = rest.find_first_not_of(L' ', from);
        if (start != std::wstring::npos) {
            from = rest.find(L' ', start);
            argument.assign(rest.c_str() + start, (from == std::wstring::npos ? rest.size() : from) - start);
        } else if (next < arguments.size()) {
            argument = arguments[next++];
        } else {
            break;
        }
        if (const std::size_t quote = argument.find(L'"', argument.find(L'=')); quote != std::wstring::npos) {
            if (start != std::wstring::npos) {
                from = start + quote + 1;
            } else {
                rest.assign(argument.c_str() + quote + 1);
                from = 0;
            }
            argument[quote] = L'\\';
            argument.resize(quote + 1);
        }
        // The first refusal is reported; the rest is still read, so that a
        // later /S keeps a refused command line silent.
        auto refuse = [&result, &argument](const wchar_t* why) {
            if (result.error.empty()) result.error = L"\"" + argument + L"\": " + why;
        };
        if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) {
            refuse(L"not a switch");
            continue;
        }
        const std::wstring body = argument.substr(1);
        const auto equals = body.find(L'=');
        const std::wstring name = Upper(body.substr(0, equals));
        if (equals != std::wstring::npos) {
            const std::wstring value = body.substr(equals + 1);
            std::optional<std::wstring>* target = name == L"DIR" ? &s.folder : name == L"LOG" ? &s.log : nullptr;
            if (target == nullptr)
                refuse(L"unknown switch");
            else if (winkit::IsBlank(value))
                refuse(L"no value after \"=\"");
            else if (*target)
                refuse(L"given twice");
            else
                *target = value;
        } else {
            bool* flag = name == L"S"           ? &s.silent
                         : name == L"AUTOSTART" ? &s.autostart
                         : name == L"UNINSTALL" ? &s.uninstall
                         : name == L"?"         ? &s.help
                                                : nullptr;
            if (flag == nullptr)
                refuse(name == L"DIR" || name == L"LOG" ? L"needs \"=\" and a value" : L"unknown switch");
            else if (*flag)
                refuse(L"given twice");
            else
                *flag = true;
        }
        // The argument that makes the conflict is the bad one, so that the
        // message names it in its place among the others.
        if (s.uninstall && (s.folder || s.autostart))
            refuse(name == L"UNINSTALL" ? L"not with /DIR= or /AUTOSTART" : L"not with /UNINSTALL");
    }
    return result;
}

}  // namespace setup
