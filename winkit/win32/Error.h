#pragma once
#include <windows.h>

#include <string>

#include "Win32Result.h"

namespace winkit {

// Captures GetLastError right at the failing call.
Win32Result LastError(std::wstring operation);

// The system's text for an error code, without the trailing line break.
std::wstring SystemMessage(long code);

// The text for a code the system has none for ("Error 1234."): the program
// gives its own, from its table in the user's language, at start.
using NumberedErrorText = std::wstring (*)(unsigned long code);
void UseNumberedErrorText(NumberedErrorText text);

// "<operation>:\n<system message>" for a message box.
std::wstring Describe(const Win32Result& result);

// Information message with an OK button only.
void ShowInformation(HWND owner, const std::wstring& text, const std::wstring& title);

// A question with Yes and No, No the default: true for Yes.
bool AskYesNo(HWND owner, const std::wstring& text, const std::wstring& title);

}  // namespace winkit
