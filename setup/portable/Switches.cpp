#include "Switches.h"

#include <cwctype>

#include "SetupTexts.h"
#include "Text.h"

namespace setup {

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
        auto refuse = [&result, &argument](TextId why) {
            if (result.error.empty()) result.error = Format(TextId::RefusedArgument, {argument, Text(why)});
        };
        if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) {
            refuse(TextId::NotASwitch);
            continue;
        }
        const std::wstring body = argument.substr(1);
        const auto equals = body.find(L'=');
        const std::wstring name = Upper(body.substr(0, equals));
        if (equals != std::wstring::npos) {
            const std::wstring value = body.substr(equals + 1);
            std::optional<std::wstring>* target = name == L"DIR" ? &s.folder : name == L"LOG" ? &s.log : nullptr;
            if (target == nullptr)
                refuse(TextId::UnknownSwitch);
            else if (winkit::IsBlank(value))
                refuse(TextId::NoValue);
            else if (*target)
                refuse(TextId::GivenTwice);
            else
                *target = value;
        } else {
            bool* flag = name == L"S"           ? &s.silent
                         : name == L"AUTOSTART" ? &s.autostart
                         : name == L"UNINSTALL" ? &s.uninstall
                         : name == L"?"         ? &s.help
                                                : nullptr;
            if (flag == nullptr)
                refuse(name == L"DIR" || name == L"LOG" ? TextId::NeedsValue : TextId::UnknownSwitch);
            else if (*flag)
                refuse(TextId::GivenTwice);
            else
                *flag = true;
        }
        // The argument that makes the conflict is the bad one, so that the
        // message names it in its place among the others.
        if (s.uninstall && (s.folder || s.autostart))
            refuse(name == L"UNINSTALL" ? TextId::NotWithDirOrAutostart : TextId::NotWithUninstall);
    }
    return result;
}

}  // namespace setup
