#pragma once
// The names and limits Install and Uninstall share: the installed files, the
// uninstall entry's values, the longest folder and source file accepted.
#include <cstddef>
#include <cstdint>

namespace setup {

inline constexpr wchar_t kLauncherFile[] = L"Tolvane.exe";
inline constexpr wchar_t kSetupFile[] = L"Setup.exe";
inline constexpr wchar_t kReadmeFile[] = L"Readme.txt";
// The same guide in German, opened by F1 under a German display language.
inline constexpr wchar_t kGermanReadmeFile[] = L"Liesmich.txt";
// In copy order.
inline constexpr const wchar_t* kInstalledFiles[] = {kLauncherFile, kSetupFile, kReadmeFile, kGermanReadmeFile};

inline constexpr wchar_t kInitialFolderText[] = L"C:\\Tolvane\\";

// The longest full folder path Setup accepts: with "Tolvane.exe", quotes and
// the Explorer's "/e," it stays well below the 260 characters that programs
// reading the Run value or starting the Explorer may still assume.
inline constexpr std::size_t kMaxFolderLength = 200;
// Far above any file Setup ships: a larger one is not the file it was built
// with, and is not read into memory to find that out.
inline constexpr std::uint64_t kMaxSourceSize = 64u * 1024 * 1024;

// Values of the uninstall entry beyond DisplayName and UninstallString that the
// list of installed programs reads.
inline constexpr wchar_t kDisplayIconValue[] = L"DisplayIcon";
inline constexpr wchar_t kDisplayVersionValue[] = L"DisplayVersion";
inline constexpr wchar_t kPublisherValue[] = L"Publisher";
inline constexpr wchar_t kInstallLocationValue[] = L"InstallLocation";
inline constexpr wchar_t kEstimatedSizeValue[] = L"EstimatedSize";
inline constexpr wchar_t kNoModifyValue[] = L"NoModify";
inline constexpr wchar_t kNoRepairValue[] = L"NoRepair";
inline constexpr wchar_t kQuietUninstallStringValue[] = L"QuietUninstallString";
inline constexpr wchar_t kDisplayName[] = L"Tolvane";

// The launcher is started minimized and activated (SW_SHOWMINIMIZED).
inline constexpr int kLauncherShowState = 2;

}  // namespace setup
