#include "Win32Elevation.h"

#include <commctrl.h>
#include <shellapi.h>

#include "Handles.h"
#include "Join.h"
#include "LauncherTexts.h"
#include "Process.h"
#include "Program.h"
#include "SystemFunction.h"

namespace launcher {

namespace {

// Removing one registry value takes no time; a copy that hangs must not hold
// the tray icon for good.
constexpr DWORD kElevatedCopyTimeoutMs = 60000;

HRESULT CALLBACK ShieldOnYes(HWND dialog, UINT notification, WPARAM, LPARAM, LONG_PTR) {
    if (notification == TDN_CREATED) SendMessageW(dialog, TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE, IDYES, TRUE);
    return S_OK;
}

}  // namespace

bool Win32Elevation::IsElevated() {
    winkit::UniqueKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof(elevation), &size) &&
           elevation.TokenIsElevated != 0;
}

bool Win32Elevation::ConfirmRemovalForAllUsers() {
    // TaskDialogIndirect lives in comctl32 version 6 only (the manifest asks
    // for it); looked up so that the launcher loads without it.
    using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
    const auto taskDialog = winkit::SystemFunction<TaskDialogIndirectFn>(L"comctl32.dll", "TaskDialogIndirect");
    int button = 0;
    if (taskDialog != nullptr) {
        TASKDIALOGCONFIG config{};
        config.cbSize = sizeof(config);
        config.hwndParent = nullptr;  // the main window is hidden: a parentless dialog gets a taskbar button
        config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
        config.dwCommonButtons = TDCBF_YES_BUTTON | TDCBF_NO_BUTTON;
        config.pszWindowTitle = kLauncherCaption;
        config.pszMainInstruction = Text(TextId::AllUsersQuestion);
        config.pszContent = Text(TextId::AllUsersExplanation);
        config.nDefaultButton = IDYES;
        config.pfCallback = ShieldOnYes;
        if (SUCCEEDED(taskDialog(&config, &button, nullptr, nullptr))) return button == IDYES;
    }
    const std::wstring text = winkit::Join({Text(TextId::AllUsersQuestion), L"\n\n", Text(TextId::AllUsersExplanation)});
    return MessageBoxW(nullptr, text.c_str(), kLauncherCaption, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) ==
           IDYES;
}

long Win32Elevation::RunElevatedRemoval() {
    const std::wstring program = winkit::ProgramPath();
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // No COM set up for this: an .exe is started without any shell extension.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = m_owner;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = kRemoveMachineAutostartArgument;
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info)) return static_cast<long>(GetLastError());
    if (info.hProcess == nullptr) return winkit::kErrorInvalidHandle;
    winkit::UniqueKernelHandle process(info.hProcess);
    // The tray, the menu and the Settings dialog keep answering meanwhile.
    switch (winkit::WaitPumpingMessages(process.Get(), kElevatedCopyTimeoutMs)) {
    case winkit::WaitResult::Signalled:
        break;
    case winkit::WaitResult::TimedOut:
        return WAIT_TIMEOUT;
    case winkit::WaitResult::Quit:
        return winkit::kErrorCancelled;  // Tolvane is ending; the copy does its work alone
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.Get(), &exitCode)) return static_cast<long>(GetLastError());
    return static_cast<long>(exitCode);
}

}  // namespace launcher
