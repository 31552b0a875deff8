#include "MessageFront.h"

#include "Error.h"

namespace setup {

void MessageFront::Tell(const std::wstring& text, const wchar_t* title) {
    winkit::ShowInformation(m_owner, text, title);
}

bool MessageFront::Ask(const std::wstring& text, const wchar_t* title) {
    return winkit::AskYesNo(m_owner, text, title);
}

UserStarter* MessageFront::Starter() {
    if (!m_desktop) m_desktop.emplace();
    return &*m_desktop;
}

}  // namespace setup
