#include "Switches.h"

#include <cwctype>

namespace setup {

const wchar_t kSwitchesHelp[] =
    L"Setup.exe [/S] [/DIR=folder] [/AUTOSTART] [/LOG=file]\n"
    L"Setup.exe /UNINSTALL [/S] [/LOG=file]\n\n"
    L"/S\tsilent: no window and no messages; the exit code is the result\n"
    L"/DIR=folder\tthe folder to install to (default C:\\Tolvane\\); quote it when it holds blanks\n"
    L"/AUTOSTART\tTolvane starts for every user at logon\n"
    L"/UNINSTALL\tremove the registry entries, as the Uninstall button does\n"
    L"/LOG=file\tappend what was done to the file (UTF-8)\n"
    L"/?\tthis list\n\n"
    L"Exit codes: 0 done, 1603 a step failed, 1622 the log could not be written, 1639 a switch was not "
    L"understood.";

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
    for (const std::wstring& argument : arguments) {
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
            else if (value.find_first_not_of(L" \t") == std::wstring::npos)
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
