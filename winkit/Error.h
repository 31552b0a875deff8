#pragma once
#include <windows.h>

#include <string>

namespace winkit {

// A refused Win32 operation: what was attempted and the system's own reason.
struct Win32Error {
    std::wstring operation;
    DWORD code = ERROR_SUCCESS;

    // "<operation>: <system message>" for a message box.
    std::wstring Describe() const;
};

// Captures GetLastError right at the failing call.
Win32Error LastError(std::wstring operation);

// The system's text for an error code, without the trailing line break.
std::wstring SystemMessage(DWORD code);

// Information message with an OK button only: the one way both programs talk to the user.
void ShowInformation(HWND owner, const std::wstring& text, const std::wstring& title);

}  // namespace winkit
