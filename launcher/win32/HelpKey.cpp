#include "HelpKey.h"

#include <shellapi.h>

#include <string>

#include "Error.h"
#include "Guide.h"
#include "LauncherTexts.h"
#include "Process.h"

namespace launcher {

namespace {

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

void OpenGuide(HWND owner) {
    std::wstring path = GuidePath(winkit::ProgramFolder());
    // Setup installs the English guide only: a German user gets that one rather than none.
    if (const std::wstring english = GuidePath(winkit::ProgramFolder(), Language::English); !IsFile(path))
        path = english;
    if (!IsFile(path)) {
        winkit::ShowInformation(owner, GuideMissingText(path), kLauncherCaption);
        return;
    }
    SHELLEXECUTEINFOW open{};
    open.cbSize = sizeof(open);
    // Our own message names the file; the shell's would not.
    open.fMask = SEE_MASK_FLAG_NO_UI;
    open.hwnd = owner;
    open.lpFile = path.c_str();
    open.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&open)) {
        const DWORD error = GetLastError();
        winkit::ShowInformation(owner, GuideNotOpenedText(path, winkit::SystemMessage(static_cast<long>(error))),
                                kLauncherCaption);
    }
}

bool AnswerHelp(HWND window, UINT message, LRESULT& result) {
    if (message != WM_HELP) return false;
    OpenGuide(window);
    result = TRUE;
    return true;
}

}  // namespace launcher
