#pragma once
// Who owns a folder and who may do what in it, in the text form (SDDL) that
// Windows converts to and from. The model lets the native tests build and
// inspect descriptors; whether users without administrator rights can change
// a folder, or move one away from under the install folder, is decided here.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace setup {

inline constexpr wchar_t kAdministratorsSid[] = L"S-1-5-32-544";
inline constexpr wchar_t kSystemSid[] = L"S-1-5-18";
inline constexpr wchar_t kUsersSid[] = L"S-1-5-32-545";
inline constexpr wchar_t kAuthenticatedUsersSid[] = L"S-1-5-11";
inline constexpr wchar_t kEveryoneSid[] = L"S-1-1-0";
inline constexpr wchar_t kCreatorOwnerSid[] = L"S-1-3-0";
inline constexpr wchar_t kTrustedInstallerSid[] = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

inline constexpr std::uint32_t kFullControl = 0x1F01FF;     // FILE_ALL_ACCESS
inline constexpr std::uint32_t kReadAndExecute = 0x1200A9;  // FILE_GENERIC_READ | FILE_GENERIC_EXECUTE

inline constexpr std::uint8_t kObjectInherit = 0x01;
inline constexpr std::uint8_t kContainerInherit = 0x02;
inline constexpr std::uint8_t kNoPropagate = 0x04;
inline constexpr std::uint8_t kInheritOnly = 0x08;
inline constexpr std::uint8_t kInherited = 0x10;

struct Ace {
    bool allow = true;
    std::uint32_t mask = 0;
    std::uint8_t flags = 0;
    std::wstring sid;  // "S-1-..." (a two-letter alias Windows may write is read as its SID)
};

struct SecurityDescriptor {
    std::wstring owner;
    bool hasDacl = false;  // no DACL at all lets everyone do everything
    bool daclProtected = false;
    std::vector<Ace> dacl;
};

std::wstring ToSddl(const SecurityDescriptor& descriptor);
// Nothing when the text holds anything this model cannot represent.
std::optional<SecurityDescriptor> ParseSddl(const std::wstring& sddl);

// What Program Files gives: owner Administrators; Administrators and SYSTEM
// full control, Users read and execute, inherited by files and subfolders;
// nothing inherited from the folder above.
SecurityDescriptor ProtectedFolder();

// True when an account other than Administrators, SYSTEM and TrustedInstaller
// owns the folder, or may write, append, delete, delete entries, change the
// permissions or take ownership in it (CREATOR OWNER aside).
bool ChangeableByNonAdministrators(const SecurityDescriptor& descriptor);

// For a folder above the install folder: true when an account other than
// Administrators, SYSTEM and TrustedInstaller owns it, or may delete or rename
// it, delete or rename its entries, change its permissions or take ownership
// of it (what its entries inherit aside). Creating entries in it is harmless.
bool MovableByNonAdministrators(const SecurityDescriptor& descriptor);

}  // namespace setup
