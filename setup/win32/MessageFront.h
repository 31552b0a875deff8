#pragma once
#include <windows.h>

#include <optional>

#include "DesktopShell.h"
#include "Flow.h"

namespace setup {

// Setup with someone to talk to: messages in message boxes
// (owned by the window, or by none for /UNINSTALL without /S), and the
// launcher started through the desktop shell.
class MessageFront final : public Front {
public:
    explicit MessageFront(HWND owner) : m_owner(owner) {}
    void Tell(const std::wstring& text, const wchar_t* title) override;
    bool Ask(const std::wstring& text, const wchar_t* title) override;
    // COM is started only when an installation has got that far.
    UserStarter* Starter() override;

private:
    HWND m_owner;
    std::optional<DesktopShell> m_desktop;
};

}  // namespace setup
