#pragma once
// The registry layout both programs share. Key paths keep the letter case that
// earlier releases used; the registry ignores case, but other tools compare.

namespace registry {

inline constexpr wchar_t kRunKey[] = L"software\\microsoft\\windows\\currentversion\\run";
inline constexpr wchar_t kRunValue[] = L"Tolvane";

inline constexpr wchar_t kMakerKey[] = L"software\\Varnholt";
inline constexpr wchar_t kSettingsKey[] = L"software\\Varnholt\\Tolvane";
inline constexpr wchar_t kModeValue[] = L"Modus";
inline constexpr wchar_t kFolderValue[] = L"Pfad";

inline constexpr wchar_t kUninstallKey[] =
    L"software\\microsoft\\windows\\currentversion\\uninstall\\Varnholt Tolvane";
inline constexpr wchar_t kDisplayNameValue[] = L"DisplayName";
inline constexpr wchar_t kUninstallStringValue[] = L"UninstallString";

inline constexpr wchar_t kDefaultMode[] = L"vbMaximizedFocus";
inline constexpr wchar_t kDefaultFolder[] = L"C:\\";

}  // namespace registry
