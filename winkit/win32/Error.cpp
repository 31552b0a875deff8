#include "Error.h"

#include "Decimal.h"
#include "Handles.h"

namespace winkit {

// The portable code tells these codes apart without <windows.h>: they must be
// the system's.
static_assert(kErrorSuccess == ERROR_SUCCESS && kErrorFileNotFound == ERROR_FILE_NOT_FOUND &&
              kErrorPathNotFound == ERROR_PATH_NOT_FOUND && kErrorAccessDenied == ERROR_ACCESS_DENIED &&
              kErrorInvalidHandle == ERROR_INVALID_HANDLE && kErrorSharingViolation == ERROR_SHARING_VIOLATION &&
              kErrorLockViolation == ERROR_LOCK_VIOLATION && kErrorInvalidParameter == ERROR_INVALID_PARAMETER &&
              kErrorAlreadyExists == ERROR_ALREADY_EXISTS && kErrorMoreData == ERROR_MORE_DATA &&
              kErrorNoMoreItems == ERROR_NO_MORE_ITEMS && kErrorCancelled == ERROR_CANCELLED &&
              kErrorUserMappedFile == ERROR_USER_MAPPED_FILE);

namespace {

NumberedErrorText g_numberedErrorText = nullptr;

}  // namespace

void UseNumberedErrorText(NumberedErrorText text) { g_numberedErrorText = text; }

std::wstring SystemMessage(long error) {
    auto code = static_cast<DWORD>(error);
    UniqueLocal<wchar_t> buffer;
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument is where the
    // pointer to the new buffer goes.
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(buffer.Put()), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer) text.assign(buffer.Get(), length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) text = g_numberedErrorText ? g_numberedErrorText(code) : L"Error " + Decimal(code) + L".";
    return text;
}

std::wstring Describe(const Win32Result& result) {
    return result.operation + L":\n" + SystemMessage(result.code);
}

Win32Result LastError(std::wstring operation) {
    const DWORD code = GetLastError();
    return Win32Result::Failure(static_cast<long>(code), std::move(operation));
}

void ShowInformation(HWND owner, const std::wstring& text, const std::wstring& title) {
    MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

bool AskYesNo(HWND owner, const std::wstring& text, const std::wstring& title) {
    return MessageBoxW(owner, text.c_str(), title.c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND) == IDYES;
}

}  // namespace winkit
