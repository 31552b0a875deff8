#pragma once
// The registry layout both programs share. Key paths keep the letter case that
// earlier releases used; the registry ignores case, but other tools compare.
#include "Registry.h"

namespace registry {

inline constexpr wchar_t kRunKey[] = L"software\\microsoft\\windows\\currentversion\\run";
inline constexpr wchar_t kRunValue[] = L"Tolvane";

inline constexpr wchar_t kSettingsKey[] = L"software\\Varnholt\\Tolvane";
inline constexpr wchar_t kModeValue[] = L"Modus";
inline constexpr wchar_t kFolderValue[] = L"Pfad";
inline constexpr wchar_t kHotkeyValue[] = L"Hotkey";

// The user's favourite folders: a subkey per favourite, named by a number
// that gives its place in the list, with "Name", "Pfad", "Modus" and "Hotkey".
inline constexpr wchar_t kFavouritesKey[] = L"software\\Varnholt\\Tolvane\\Folders";
inline constexpr wchar_t kNameValue[] = L"Name";

// Group Policy's values: the computer's and the user's.
inline constexpr wchar_t kPolicyKey[] = L"Software\\Policies\\Varnholt\\Tolvane";
inline constexpr Place kPolicyPlaces[] = {{Root::MachinePolicy, kPolicyKey}, {Root::CurrentUser, kPolicyKey}};
// A policy's favourites: a value per favourite, its name the favourite's and its text the folder.
inline constexpr wchar_t kPolicyFavouritesKey[] = L"Software\\Policies\\Varnholt\\Tolvane\\Folders";
inline constexpr Place kPolicyFavouritesPlaces[] = {{Root::MachinePolicy, kPolicyFavouritesKey},
                                                    {Root::CurrentUser, kPolicyFavouritesKey}};

// Each setting is looked up on its own: the computer's policy, the user's
// policy, the user's own value, then the machine's, which Setup writes as the
// default for everyone.
inline constexpr Place kSettingsPlaces[] = {{Root::MachinePolicy, kPolicyKey},
                                            {Root::CurrentUser, kPolicyKey},
                                            {Root::CurrentUser, kSettingsKey},
                                            {Root::LocalMachine, kSettingsKey}};

// Where Windows' registry virtualization (Vista and later) put the HKLM writes
// of the classic program, which had no manifest: under HKEY_CURRENT_USER, for
// 64-bit and then 32-bit Windows.
inline constexpr const wchar_t* kVirtualizedSettingsKeys[] = {
    L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\Varnholt\\Tolvane",
    L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Varnholt\\Tolvane",
};

inline constexpr wchar_t kUninstallKey[] =
    L"software\\microsoft\\windows\\currentversion\\uninstall\\Varnholt Tolvane";
inline constexpr wchar_t kDisplayNameValue[] = L"DisplayName";
inline constexpr wchar_t kUninstallStringValue[] = L"UninstallString";

inline constexpr wchar_t kDefaultMode[] = L"vbMaximizedFocus";
inline constexpr wchar_t kDefaultFolder[] = L"C:\\";

}  // namespace registry
