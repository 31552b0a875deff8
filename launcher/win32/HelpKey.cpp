#include "HelpKey.h"

#include <shellapi.h>

#include <string>

#include "Error.h"
#include "Guide.h"
#include "LauncherTexts.h"
#include "Process.h"

namespace launcher {

void OpenGuide(HWND owner) {
    const std::wstring path = GuidePath(winkit::ProgramFolder());
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
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
