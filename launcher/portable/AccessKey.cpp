#include "AccessKey.h"

namespace launcher {

wchar_t AccessKey(const wchar_t* caption) {
    for (const wchar_t* ch = caption; ch != nullptr && *ch != L'\0'; ++ch) {
        if (*ch != L'&') continue;
        const wchar_t next = *++ch;
        if (next == L'&') continue;
        if (next >= L'a' && next <= L'z') return static_cast<wchar_t>(next - L'a' + L'A');
        if ((next >= L'A' && next <= L'Z') || (next >= L'0' && next <= L'9')) return next;
        return 0;
    }
    return 0;
}

}  // namespace launcher
