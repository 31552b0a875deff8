#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "../../version/Version.h"
#include "SetupFakes.h"
#include "Install.h"
#include "InstallTexts.h"
#include "MemoryRegistry.h"
#include "Restart.h"
#include "RegistryLayout.h"
#include "SecurityDescriptor.h"

using namespace setup;
using namespace testing_support;

namespace {

InstallPlan Plan(const std::wstring& folder, bool autostart = false) {
    return MakeInstallPlan(folder, kSources.programPath, autostart);
}

// The values and keys Install writes, as stored: equal before and after a
// failed installation when it left nothing behind.
std::vector<std::wstring> RegistryState(const MemoryRegistry& reg) {
    std::vector<std::wstring> state;
    for (const wchar_t* key : {registry::kRunKey, testing_support::kMakerKey, registry::kSettingsKey, registry::kUninstallKey}) {
        state.push_back(std::wstring(key) + (reg.HasKey(key) ? L" is there" : L" is missing"));
        for (const RegistryWrite& write : PlannedRegistryWrites(Plan(L"C:\\Tolvane", true), 0))
            if (const auto* value = reg.Find(key, write.value))
                state.push_back(std::wstring(write.value) + L"=" + std::to_wstring(value->type) + L":" +
                                std::wstring(value->data.begin(), value->data.end()));
    }
    return state;
}

}  // namespace

TEST(InstallPlan, FolderAndSourcesFromTheFullPaths) {
    const struct {
        const wchar_t* folder;
        const wchar_t* program;
        const wchar_t* expectFolder;
        const wchar_t* expectSource;
    } cases[] = {
        {L"C:\\Tolvane\\", L"C:\\Downloads\\Setup.exe", L"C:\\Tolvane", L"C:\\Downloads\\"},
        {L"D:\\Tools\\Tolvane", L"C:\\Downloads\\Setup (1).exe", L"D:\\Tools\\Tolvane", L"C:\\Downloads\\"},
        {L"C:\\Tolvane\\\\", L"E:\\Setup.exe", L"C:\\Tolvane", L"E:\\"},
    };
    for (const auto& c : cases) {
        const InstallPlan plan = MakeInstallPlan(c.folder, c.program, false);
        EXPECT_EQ(plan.folder, c.expectFolder) << c.folder;
        EXPECT_EQ(plan.installFolder, std::wstring(c.expectFolder) + L"\\") << c.folder;
        EXPECT_EQ(plan.sourceFolder, c.expectSource) << c.folder;
        EXPECT_EQ(plan.programPath, c.program) << c.folder;
    }
    EXPECT_EQ(FoldersAbove(L"C:\\A\\B\\Tolvane"), (std::vector<std::wstring>{L"C:\\", L"C:\\A", L"C:\\A\\B"}));
    EXPECT_EQ(FoldersAbove(L"C:\\Tolvane"), std::vector<std::wstring>{L"C:\\"});
    EXPECT_EQ(WithoutLongPrefix(L"\\\\?\\C:\\Tolvane"), L"C:\\Tolvane");
    EXPECT_EQ(WithoutLongPrefix(L"\\\\?\\UNC\\server\\share\\x"), L"\\\\server\\share\\x");
    EXPECT_EQ(WithoutLongPrefix(L"C:\\x"), L"C:\\x");
}

TEST(InstallPlan, OnlyFullPathsOnFixedLocalDrivesAreUsed) {
    const std::wstring longest = L"C:\\" + std::wstring(kMaxFolderLength - 3, L'x');
    const struct {
        std::wstring typed;
        std::wstring full;
        DriveKind drive;
        const wchar_t* says;  // nullptr: accepted
        Language language = Language::English;
    } cases[] = {
        {L"", L"C:\\Downloads", DriveKind::Fixed, L"root of the current drive"},
        {L" \\ ", L"C:\\", DriveKind::Fixed, L"root of the current drive"},
        {L"Tolvane\\", L"C:\\Downloads\\Tolvane\\", DriveKind::Fixed, L"\"Tolvane\\\" is not a full path"},
        {L"..\\x\\", L"C:\\x\\", DriveKind::Fixed, L"is not a full path"},
        {L"D:Tolvane", L"D:\\Work\\Tolvane", DriveKind::Fixed, L"is not a full path"},
        {L"\\Tools", L"C:\\Tools", DriveKind::Fixed, L"is not a full path"},
        {L"\\\\server\\share\\", L"\\\\server\\share\\", DriveKind::Unknown, L"is a network or device path"},
        {L"\\\\?\\C:\\Tolvane", L"\\\\?\\C:\\Tolvane", DriveKind::Unknown, L"is a network or device path"},
        {L"\\\\.\\C:\\Tolvane", L"\\\\.\\C:\\Tolvane", DriveKind::Unknown, L"is a network or device path"},
        {L"C:\\Tolvane\\CON", L"\\\\.\\CON", DriveKind::Unknown, L"is a network or device path"},
        {L"Z:\\Tolvane\\", L"Z:\\Tolvane\\", DriveKind::Remote, L"Z: is a network drive"},
        {L"E:\\Tolvane", L"E:\\Tolvane", DriveKind::Removable, L"E: is a removable drive"},
        {L"D:\\Tolvane\\", L"D:\\Tolvane\\", DriveKind::CdRom, L"D: is a CD or DVD drive"},
        {L"Q:\\Tolvane", L"Q:\\Tolvane", DriveKind::NoRoot, L"Q: is not a fixed drive"},
        {L"C:\\", L"C:\\", DriveKind::Fixed, L"C:\\ is the root of a drive"},
        {L"C:\\\\", L"C:\\\\", DriveKind::Fixed, L"C:\\ is the root of a drive"},
        {longest + L"y", longest + L"y", DriveKind::Fixed, L"longer than 200 characters"},
        {L"C:\\Tolvane \\", L"C:\\Tolvane \\", DriveKind::Fixed, L"ends in a blank or a dot (\"Tolvane \")"},
        {L"C:\\Tolvane.", L"C:\\Tolvane", DriveKind::Fixed, L"ends in a blank or a dot (\"Tolvane.\")"},
        {L"C:\\Tools.\\Tolvane", L"C:\\Tools.\\Tolvane", DriveKind::Fixed, L"(\"Tools.\")"},
        {L"C:\\Tolvane\\ ", L"C:\\Tolvane\\", DriveKind::Fixed, L"(\" \")"},
        {L"C:\\Tolvane:x", L"C:\\Tolvane:x", DriveKind::Fixed, L"holds a \":\" after the drive"},
        {L"C:\\Tol*", L"C:\\Tol*", DriveKind::Fixed, L"no folder name may hold"},
        {L"C:\\a|b", L"C:\\a|b", DriveKind::Fixed, L"no folder name may hold"},
        {L"C:\\\"x\"", L"C:\\\"x\"", DriveKind::Fixed, L"no folder name may hold"},
        {L"C:\\a\tb", L"C:\\a\tb", DriveKind::Fixed, L"no folder name may hold"},
        {longest, longest, DriveKind::Fixed, nullptr},
        {L"C:\\Tolvane\\", L"C:\\Tolvane\\", DriveKind::Fixed, nullptr},
        {L"C:\\Tools\\.hidden x\\Tolvane", L"C:\\Tools\\.hidden x\\Tolvane", DriveKind::Fixed, nullptr},
        {L"c:/Program Files/Tolvane", L"c:\\Program Files\\Tolvane", DriveKind::Fixed, nullptr},
        // The window's message in German, whole sentences with the path in its place.
        {L"", L"C:\\Downloads", DriveKind::Fixed, L"zum Beispiel C:\\Tolvane\\\n\nEin leerer Ordnername",
         Language::German},
        {L"Z:\\Tolvane\\", L"Z:\\Tolvane\\", DriveKind::Remote,
         L"Z: ist ein Netzlaufwerk.\n\nTolvane l\u00E4sst sich nur", Language::German},
        {L"D:\\Tolvane\\", L"D:\\Tolvane\\", DriveKind::CdRom, L"D: ist ein CD- oder DVD-Laufwerk.", Language::German},
        {L"C:\\", L"C:\\", DriveKind::Fixed, L"C:\\ ist das Stammverzeichnis eines Laufwerks", Language::German},
        {L"C:\\Tolvane.", L"C:\\Tolvane", DriveKind::Fixed, L"Punkt endet (\u201ETolvane.\u201C)", Language::German},
        {longest + L"y", longest + L"y", DriveKind::Fixed, L"l\u00E4nger als 200 Zeichen", Language::German},
    };
    for (const auto& c : cases) {
        const auto refusal = RefuseFolderText(c.typed, c.full, c.drive, c.language);
        EXPECT_EQ(refusal.has_value(), c.says != nullptr) << testing::PrintToString(c.typed);
        if (refusal && c.says) {
            EXPECT_TRUE(Contains(*refusal, c.says)) << testing::PrintToString(*refusal);
        }
    }
}

TEST(InstallPlan, RegistryWritesInOrderWithQuotesOnlyForBlanks) {
    struct Case {
        const wchar_t* folder;
        bool autostart;
        std::vector<std::pair<std::wstring, std::wstring>> expected;  // value name -> data (first five)
    } cases[] = {
        {L"C:\\Tolvane\\", true,
         {{L"Tolvane", L"C:\\Tolvane\\Tolvane.exe"}, {L"Modus", L"vbMaximizedFocus"}, {L"Pfad", L"C:\\"},
          {L"DisplayName", L"Tolvane"}, {L"UninstallString", L"C:\\Tolvane\\Setup.exe"}}},
        {L"C:\\Tolvane\\", false,
         {{L"Modus", L"vbMaximizedFocus"}, {L"Pfad", L"C:\\"}, {L"DisplayName", L"Tolvane"},
          {L"UninstallString", L"C:\\Tolvane\\Setup.exe"},
          {L"QuietUninstallString", L"\"C:\\Tolvane\\Setup.exe\" /UNINSTALL /S"}}},
        {L"C:\\Program Files\\Tolvane", true,
         {{L"Tolvane", L"\"C:\\Program Files\\Tolvane\\Tolvane.exe\""}, {L"Modus", L"vbMaximizedFocus"},
          {L"Pfad", L"C:\\"}, {L"DisplayName", L"Tolvane"},
          {L"UninstallString", L"\"C:\\Program Files\\Tolvane\\Setup.exe\""},
          {L"QuietUninstallString", L"\"C:\\Program Files\\Tolvane\\Setup.exe\" /UNINSTALL /S"}}},
    };
    for (const auto& c : cases) {
        const auto writes = PlannedRegistryWrites(Plan(c.folder, c.autostart), 0);
        ASSERT_EQ(writes.size(), (c.autostart ? 13u : 12u)) << c.folder;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(writes[i].value, c.expected[i].first) << c.folder << " #" << i;
            EXPECT_EQ(writes[i].text, c.expected[i].second) << c.folder << " #" << i;
            EXPECT_EQ(writes[i].type, registry::kTypeSz);
        }
        EXPECT_EQ(std::wstring(writes[0].key), c.autostart ? registry::kRunKey : registry::kSettingsKey);
    }
    // Programs and Features shows KB; a started one counts.
    for (const auto& [bytes, kb] : {std::pair<std::uint64_t, std::uint32_t>{0, 0}, {1, 1}, {1024, 1}, {1025, 2}}) {
        const auto writes = PlannedRegistryWrites(Plan(L"C:\\T"), bytes);
        const auto size = std::find_if(writes.begin(), writes.end(), [](const RegistryWrite& w) {
            return std::wstring(w.value) == kEstimatedSizeValue;
        });
        ASSERT_NE(size, writes.end());
        EXPECT_EQ(size->type, registry::kTypeDword);
        EXPECT_EQ(size->number, kb) << bytes;
    }
}

TEST(InstallPlan, LauncherIsStartedByItsFullPathMinimized) {
    const StartCommand start = LauncherStart(Plan(L"C:\\Program Files\\T\\"));
    EXPECT_EQ(start.programPath, L"C:\\Program Files\\T\\Tolvane.exe");
    EXPECT_EQ(start.workingFolder, L"C:\\Program Files\\T\\");
    EXPECT_EQ(start.showState, 2);
}

TEST(RunInstall, NewFolderGetsItsDescriptorInTheCreateCallThenTheFilesAndEveryEntry) {
    FakeDisk disk;
    MemoryRegistry reg;
    const InstallReport report = RunInstall(Plan(L"C:\\Tolvane\\", true), kSources, disk, reg);
    ASSERT_TRUE(report.Complete());
    EXPECT_TRUE(report.folderCreated);
    // Windows' own drive root is Windows': nothing above C:\Tolvane is inspected.
    EXPECT_EQ(disk.calls, (std::vector<std::wstring>{L"create C:\\Tolvane", L"open C:\\Tolvane",
                                                     L"read C:\\Downloads\\Tolvane.exe", L"write Tolvane.exe",
                                                     L"write Setup.exe", L"read C:\\Downloads\\Readme.txt",
                                                     L"write Readme.txt", L"read C:\\Downloads\\Liesmich.txt",
                                                     L"write Liesmich.txt"}));
    EXPECT_EQ(disk.At(L"C:\\Tolvane").sddl, ToSddl(ProtectedFolder()));
    EXPECT_EQ(disk.At(L"C:\\Tolvane").held, 0) << "held only until the last value is written";
    EXPECT_EQ(reg.OpenHandles(), 0);
    EXPECT_EQ(disk.Content(L"C:\\Tolvane\\Setup.exe"), "installer");
    EXPECT_EQ(reg.StoredText(registry::kRunKey, L"Tolvane"), L"C:\\Tolvane\\Tolvane.exe");
    EXPECT_EQ(reg.StoredText(registry::kSettingsKey, L"Modus"), L"vbMaximizedFocus");
    EXPECT_EQ(reg.StoredText(registry::kSettingsKey, L"Pfad"), L"C:\\");
    EXPECT_EQ(reg.StoredText(registry::kUninstallKey, L"UninstallString"), L"C:\\Tolvane\\Setup.exe");
    EXPECT_EQ(reg.StoredText(registry::kUninstallKey, L"DisplayVersion"), TOLVANE_WIDEN(TOLVANE_VERSION_TEXT));
    EXPECT_EQ(reg.StoredText(registry::kUninstallKey, L"Publisher"), L"Varnholt");
    EXPECT_EQ(reg.StoredText(registry::kUninstallKey, L"InstallLocation"), L"C:\\Tolvane\\");
    EXPECT_EQ(reg.StoredText(registry::kUninstallKey, L"DisplayIcon"), L"C:\\Tolvane\\Tolvane.exe");
    for (const auto& [flag, number] : {std::pair<const wchar_t*, std::uint8_t>{L"NoModify", 1}, {L"NoRepair", 1},
                                       {L"EstimatedSize", 1}}) {
        const auto* value = reg.Find(registry::kUninstallKey, flag);
        ASSERT_NE(value, nullptr) << flag;
        EXPECT_EQ(value->type, registry::kTypeDword);
        EXPECT_EQ(value->data, (std::vector<std::uint8_t>{number, 0, 0, 0}));
    }
}

TEST(RunInstall, AFolderAlreadySafeIsUsedAndItsOldFilesReplaced) {
    FakeDisk disk;
    disk.Folder(L"C:\\Program Files", testing_support::kWindowsRoot);
    disk.Folder(L"C:\\Program Files\\Tolvane");
    disk.File(L"C:\\Program Files\\Tolvane\\Tolvane.exe", "old launcher");
    MemoryRegistry reg;
    reg.PutString(registry::kSettingsKey, L"Pfad", L"D:\\Work");
    reg.PutString(registry::kRunKey, L"Tolvane", L"left by the launcher");
    const InstallReport report = RunInstall(Plan(L"C:\\Program Files\\Tolvane"), kSources, disk, reg);
    ASSERT_TRUE(report.Complete());
    EXPECT_FALSE(report.folderCreated);
    EXPECT_EQ(disk.calls[0], L"inspect C:\\Program Files");
    EXPECT_EQ(disk.Content(L"C:\\Program Files\\Tolvane\\Tolvane.exe"), "launcher");
    EXPECT_EQ(reg.StoredText(registry::kSettingsKey, L"Pfad"), L"C:\\");
    EXPECT_EQ(reg.StoredText(registry::kRunKey, L"Tolvane"), L"left by the launcher") << "box clear: untouched";
}

TEST(RunInstall, StartedFromTheInstallFolderKeepsTheFilesThereAndChecksThem) {
    // Windows starts SETUP.EXE as Setup.exe: letter case aside, the same file.
    for (const wchar_t* program : {L"C:\\Tolvane\\Setup.exe", L"C:\\TOLVANE\\SETUP.EXE"}) {
        FakeDisk disk;
        disk.Folder(L"C:\\Tolvane");
        disk.File(L"C:\\Tolvane\\Tolvane.exe", "launcher");
        // A running program's file cannot be written.
        disk.File(L"C:\\Tolvane\\Setup.exe", "installer").writeError = winkit::kErrorSharingViolation;
        disk.File(L"C:\\Tolvane\\Readme.txt", "readme");
        disk.File(L"C:\\Tolvane\\Liesmich.txt", "liesmich");
        MemoryRegistry reg;
        const InstallReport report = RunInstall(MakeInstallPlan(L"c:\\tolvane", program, false), kSources, disk, reg);
        ASSERT_TRUE(report.Complete()) << program;
        EXPECT_EQ(report.skipped.size(), 4u) << program;
        EXPECT_TRUE(report.copied.empty()) << program;
        EXPECT_EQ(report.installedBytes, 31u) << program;
    }
    FakeDisk disk;
    disk.Folder(L"C:\\Tolvane");
    disk.File(L"C:\\Tolvane\\Tolvane.exe", "launcher");
    disk.File(L"C:\\Tolvane\\Setup.exe", "installer");
    disk.File(L"C:\\Tolvane\\Readme.txt", "readme");
    MemoryRegistry reg;
    // The German guide is checked as the others are.
    disk.File(L"C:\\Tolvane\\Liesmich.txt", "changed");
    EXPECT_EQ(RunInstall(MakeInstallPlan(L"C:\\Tolvane", L"C:\\Tolvane\\Setup.exe", false), kSources, disk, reg)
                  .failure->step,
              FailedStep::SourceChanged);
}

// Every refusal and every failed step leaves the disk and the registry as they
// were: what the attempt did is undone, latest first.
TEST(RunInstall, AFailureAnywhereLeavesTheComputerAsItWas) {
    const std::wstring deleteChild = L"O:BAD:PAI(A;OICI;FA;;;BA)(A;;0x1200e9;;;BU)";
    struct Case {
        const char* name;
        const wchar_t* folder;
        std::function<void(FakeDisk&, MemoryRegistry&)> arrange;
        FailedStep step;
        std::vector<std::wstring> says;
        std::size_t copiedBefore = 0;
        Language language = Language::English;
    } cases[] = {
        {"existing folder users can change", L"C:\\Tolvane", [](FakeDisk& d, MemoryRegistry&) { d.Folder(L"C:\\Tolvane", kUsersOwn); },
         FailedStep::FolderUnsafe,
         {L"C:\\Tolvane\\ already exists and users without administrator rights can change it. Choose a folder "
          L"that does not exist yet: Setup creates it so that only administrators can change it.",
          L"Nothing was changed."}},
        {"existing folder whose permissions cannot be read", L"C:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.Folder(L"C:\\Tolvane", L""); }, FailedStep::FolderUnsafe,
         {L"could not read who may change it (<reason 5>)"}},
        {"existing folder with permissions Setup cannot read", L"C:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.Folder(L"C:\\Tolvane", L"not sddl"); }, FailedStep::FolderUnsafe,
         {L"users without administrator rights can change it"}},
        // Harmless in a folder above, not in the install folder itself.
        {"existing folder where users may write files", L"C:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.Folder(L"C:\\Tolvane", L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;0x1201bf;;;BU)"); },
         FailedStep::FolderUnsafe, {L"users without administrator rights can change it"}},
        {"a junction", L"C:\\Tolvane", [](FakeDisk& d, MemoryRegistry&) { d.Link(L"C:\\Tolvane", L"D:\\"); },
         FailedStep::FolderIsLink, {L"C:\\Tolvane\\ is a link"}},
        {"a file", L"C:\\Tolvane", [](FakeDisk& d, MemoryRegistry&) { d.File(L"C:\\Tolvane", "x"); },
         FailedStep::FolderIsFile, {L"C:\\Tolvane is a file, not a folder"}},
        {"a link above that Windows shows", L"C:\\Tools\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.Link(L"C:\\Tools", L"D:\\Tools"); }, FailedStep::FolderAboveIsLink,
         {L"C:\\Tools is a link"}},
        {"a link above that only the final path shows", L"C:\\Tools\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) {
             d.Folder(L"D:\\Tools");
             d.Link(L"C:\\Tools", L"D:\\Tools", false);
         },
         FailedStep::FolderElsewhere, {L"C:\\Tools\\Tolvane\\ leads to D:\\Tools\\Tolvane", L"Everything Setup had done is undone"}},
        {"a user's folder above", L"C:\\Tools\\Tolvane", [](FakeDisk& d, MemoryRegistry&) { d.Folder(L"C:\\Tools", kUsersOwn); },
         FailedStep::FolderAboveUnsafe,
         {L"users without administrator rights can rename, delete or change the permissions of C:\\Tools, a "
          L"folder above C:\\Tools\\Tolvane\\"}},
        {"users may delete entries above", L"C:\\Tools\\Tolvane",
         [&deleteChild](FakeDisk& d, MemoryRegistry&) { d.Folder(L"C:\\Tools", deleteChild); },
         FailedStep::FolderAboveUnsafe, {L"C:\\Tools, a folder above"}},
        {"a folder above that cannot be read", L"C:\\Tools\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.Folder(L"C:\\Tools", L""); }, FailedStep::FolderAboveUnsafe,
         {L"could not read its permissions: <reason 5>"}},
        {"a folder above with permissions Setup cannot read", L"C:\\Tools\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.Folder(L"C:\\Tools", L"O:BAD:(XA;;FA;;;BU;(x))"); },
         FailedStep::FolderAboveUnsafe, {L"rename, delete or change the permissions of C:\\Tools, a folder above"}},
        {"another drive's root that users own", L"D:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.At(L"D:\\").sddl = kUsersOwn; }, FailedStep::FolderAboveUnsafe,
         {L"permissions of D:\\, a folder above D:\\Tolvane\\"}},
        {"a drive without permissions", L"E:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.withoutPermissions.insert(L'E'); }, FailedStep::NoPermissions,
         {L"drive E:\\ keeps no permissions (its file system is FAT32 or exFAT)"}},
        {"a drive that does not answer", L"E:\\Tolvane", [](FakeDisk& d, MemoryRegistry&) { d.volumeError = 21; },
         FailedStep::VolumeUnknown, {L"whether drive E:\\ keeps permissions", L"<reason 21>"}},
        {"missing parent", L"C:\\Missing\\Tolvane", [](FakeDisk&, MemoryRegistry&) {}, FailedStep::CreateFolder,
         {L"the folder could not be created", L"Folder: C:\\Missing\\Tolvane\nReason: <reason 3>",
          L"Setup creates one folder level only"}},
        {"no right to create", L"C:\\Locked\\T",
         [](FakeDisk& d, MemoryRegistry&) { d.Folder(L"C:\\Locked").refusesNew = true; }, FailedStep::CreateFolder,
         {L"C:\\Locked\\T", L"<reason 5>"}},
        {"changed launcher", L"C:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.File(L"C:\\Downloads\\Tolvane.exe", "another program"); },
         FailedStep::SourceChanged,
         {L"C:\\Downloads\\Tolvane.exe is not the file this Setup was made with",
          L"Everything Setup had done is undone."}},
        {"a launcher too large to read", L"C:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.huge.insert(L"c:\\downloads\\tolvane.exe"); }, FailedStep::SourceChanged,
         {L"C:\\Downloads\\Tolvane.exe is not the file"}},
        {"changed guide after two copies", L"C:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.File(L"C:\\Downloads\\Readme.txt", "other"); }, FailedStep::SourceChanged,
         {L"C:\\Downloads\\Readme.txt is not the file"}, 2},
        {"missing guide", L"C:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.Delete(L"C:\\Downloads\\Readme.txt"); },
         FailedStep::SourceMissing, {L"File: C:\\Downloads\\Readme.txt\nReason: <reason 2>"}, 2},
        {"a source another program writes", L"C:\\Tolvane", [](FakeDisk& d, MemoryRegistry&) { d.readError = 32; },
         FailedStep::SourceMissing, {L"could not be read", L"<reason 32>"}},
        {"Setup's own file unreadable", L"C:\\Tolvane", [](FakeDisk& d, MemoryRegistry&) { d.ownProgramError = 5; },
         FailedStep::SourceMissing, {L"File: C:\\Downloads\\Setup.exe"}, 1},
        {"running launcher", L"C:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) {
             d.Folder(L"C:\\Tolvane");
             d.File(L"C:\\Tolvane\\Tolvane.exe", "old").writeError = winkit::kErrorSharingViolation;
         },
         FailedStep::CopyFile, {L"C:\\Tolvane\\Tolvane.exe is in use", L"<reason 32>", L"Nothing was changed."}},
        {"Setup.exe in use after the launcher was replaced", L"C:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) {
             d.Folder(L"C:\\Tolvane");
             d.File(L"C:\\Tolvane\\Tolvane.exe", "old");
             d.File(L"C:\\Tolvane\\Setup.exe", "old").writeError = winkit::kErrorLockViolation;
         },
         FailedStep::CopyFile, {L"C:\\Tolvane\\Setup.exe is in use", L"Everything Setup had done is undone."}, 1},
        {"a folder where a file goes", L"C:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) {
             d.Folder(L"C:\\Tolvane");
             d.Folder(L"C:\\Tolvane\\Setup.exe");
         },
         FailedStep::CopyFile, {L"a file could not be copied", L"To: C:\\Tolvane\\Setup.exe", L"<reason 5>"}, 1},
        {"a value refused after others were written", L"C:\\Tolvane",
         [](FakeDisk&, MemoryRegistry& r) {
             r.PutString(registry::kSettingsKey, L"Modus", L"vbNormalFocus");
             r.PutString(registry::kRunKey, L"Tolvane", L"an earlier one");
             r.RefuseValue(L"DisplayIcon");
         },
         FailedStep::Registry,
         {L"Windows refused these registry entries:\nHKEY_LOCAL_MACHINE\\" + std::wstring(registry::kUninstallKey) +
              L"  \"DisplayIcon\": <reason 5>",
          L"Everything Setup had done is undone."},
         4},
        {"a value whose earlier state cannot be read is not written", L"C:\\Tolvane",
         [](FakeDisk&, MemoryRegistry& r) {
             r.PutString(registry::kSettingsKey, L"Modus", L"vbNormalFocus");
             r.RefuseRead(L"Modus");
         },
         FailedStep::Registry, {L"Tolvane  \"Modus\": <reason 5>"}, 4},
        // German in the window: the path, the reason and what was undone in their places.
        {"existing folder users can change, German", L"C:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.Folder(L"C:\\Tolvane", kUsersOwn); }, FailedStep::FolderUnsafe,
         {L"Installation abgebrochen: C:\\Tolvane\\ existiert schon, und Benutzer ohne Administratorrechte",
          L"\n\nNichts wurde ge\u00E4ndert."},
         0, Language::German},
        {"running launcher, German", L"C:\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) {
             d.Folder(L"C:\\Tolvane");
             d.File(L"C:\\Tolvane\\Tolvane.exe", "old").writeError = winkit::kErrorSharingViolation;
         },
         FailedStep::CopyFile, {L"C:\\Tolvane\\Tolvane.exe wird verwendet", L"Grund: <reason 32>"}, 0, Language::German},
        {"a folder above that cannot be read, German", L"C:\\Tools\\Tolvane",
         [](FakeDisk& d, MemoryRegistry&) { d.Folder(L"C:\\Tools", L""); }, FailedStep::FolderAboveUnsafe,
         {L"C:\\Tools (Setup konnte seine Berechtigungen nicht lesen: <reason 5>), einen Ordner \u00FCber "
          L"C:\\Tools\\Tolvane\\,"},
         0, Language::German},
        {"a value refused, German", L"C:\\Tolvane", [](FakeDisk&, MemoryRegistry& r) { r.RefuseValue(L"DisplayIcon"); },
         FailedStep::Registry,
         {L"Windows verweigerte diese Eintr\u00E4ge in der Registrierung:\nHKEY_LOCAL_MACHINE\\",
          L"Werte f\u00FCr alle Benutzer", L"\n\nAlles, was Setup getan hatte, ist r\u00FCckg\u00E4ngig gemacht."},
         4, Language::German},
        {"values of other types put back as they were", L"C:\\Tolvane",
         [](FakeDisk&, MemoryRegistry& r) {
             r.PutRaw(registry::kUninstallKey, kEstimatedSizeValue, registry::kTypeDword, {0x34, 0x12, 0, 0});
             const std::vector<std::uint8_t> icon{'%', 0, 'S', 0, '%', 0, 0, 0};
             r.PutRaw(registry::kUninstallKey, kDisplayIconValue, registry::kTypeExpandSz, icon);
             r.RefuseValue(kNoRepairValue);
         },
         FailedStep::Registry, {L"\"NoRepair\": <reason 5>", L"Everything Setup had done is undone."}, 4},
    };
    for (auto& c : cases) {
        FakeDisk disk;
        MemoryRegistry reg;
        c.arrange(disk, reg);
        const auto diskBefore = disk.Snapshot();
        const auto registryBefore = RegistryState(reg);
        const InstallPlan plan = Plan(c.folder, true);
        const InstallReport report = RunInstall(plan, kSources, disk, reg);
        ASSERT_TRUE(report.failure.has_value()) << c.name;
        EXPECT_EQ(report.failure->step, c.step) << c.name;
        EXPECT_EQ(report.copied.size(), c.copiedBefore) << c.name;
        EXPECT_EQ(disk.Snapshot(), diskBefore) << c.name;
        EXPECT_EQ(RegistryState(reg), registryBefore) << c.name;
        const Explanation text = FailureText(plan, report, Reason, c.language);
        for (const auto& part : c.says)
            EXPECT_TRUE(Contains(text.text, part)) << c.name << ": " << testing::PrintToString(part) << "\nin\n"
                                                   << testing::PrintToString(text.text);
        EXPECT_FALSE(text.advice.empty()) << c.name;
    }
}

TEST(RunInstall, OnlyTheFoldersAboveThatWindowsDoesNotOwnAreChecked) {
    const struct {
        const char* name;
        const wchar_t* folder;
        const wchar_t* windowsRoot;
        std::vector<std::wstring> inspected;
    } cases[] = {
        // As an emulator reports it: the signed-in user owns Windows' own root.
        {"a new folder on Windows' drive", L"C:\\Tolvane", L"C:\\", {}},
        {"below a safe folder", L"C:\\Program Files\\Tolvane", L"C:\\", {L"inspect C:\\Program Files"}},
        {"on a drive of its own", L"D:\\Tolvane", L"C:\\", {L"inspect D:\\"}},
        {"Windows on another drive", L"C:\\Tolvane", L"D:\\", {L"inspect C:\\"}},
    };
    for (const auto& c : cases) {
        FakeDisk disk;
        disk.At(L"C:\\").sddl = kUsersOwn;
        disk.windowsRoot = c.windowsRoot;
        disk.Folder(L"C:\\Program Files", testing_support::kWindowsRoot);
        MemoryRegistry reg;
        const InstallReport report = RunInstall(Plan(c.folder), kSources, disk, reg);
        std::vector<std::wstring> inspected;
        std::copy_if(disk.calls.begin(), disk.calls.end(), std::back_inserter(inspected),
                     [](const std::wstring& call) { return call.rfind(L"inspect", 0) == 0; });
        EXPECT_EQ(inspected, c.inspected) << c.name;
        EXPECT_EQ(report.Complete(), c.inspected != std::vector<std::wstring>{L"inspect C:\\"}) << c.name;
    }
}

TEST(RunInstall, TheFolderIsHeldSoThatItCannotBeSwappedBetweenCheckAndCopy) {
    FakeDisk disk;
    disk.Folder(L"D:\\Elsewhere");
    long renamed = 0;
    disk.beforeFirstRead = [&renamed](FakeDisk& d) {
        renamed = d.Rename(L"C:\\Tolvane", L"C:\\Old");
        if (renamed == 0) d.Link(L"C:\\Tolvane", L"D:\\Elsewhere");
    };
    MemoryRegistry reg;
    ASSERT_TRUE(RunInstall(Plan(L"C:\\Tolvane"), kSources, disk, reg).Complete());
    EXPECT_EQ(renamed, winkit::kErrorSharingViolation);
    EXPECT_EQ(disk.Content(L"C:\\Tolvane\\Tolvane.exe"), "launcher");
    EXPECT_TRUE(disk.At(L"D:\\Elsewhere").children.empty());
}

TEST(RunInstall, WhatCannotBeUndoneIsNamed) {
    FakeDisk disk;
    // Someone with administrator rights put a file into the new folder meanwhile.
    disk.beforeFirstRead = [](FakeDisk& d) { d.File(L"C:\\Tolvane\\theirs.txt", "x"); };
    disk.File(L"C:\\Downloads\\Readme.txt", "changed");
    MemoryRegistry reg;
    const InstallPlan plan = Plan(L"C:\\Tolvane");
    const InstallReport report = RunInstall(plan, kSources, disk, reg);
    ASSERT_EQ(report.undone.size(), 3u);
    EXPECT_EQ(UndoText(report.undone[0], Language::English), L"remove C:\\Tolvane\\Setup.exe");
    EXPECT_EQ(report.undone[2].error, 145);
    EXPECT_TRUE(Contains(FailureText(plan, report, Reason, Language::English).text,
                         L"Setup could not undo all it had done; these are left to do by hand:\nremove the folder "
                         L"C:\\Tolvane: <reason 145>"));
    EXPECT_TRUE(Contains(FailureText(plan, report, Reason, Language::German).text,
                         L"dies bleibt von Hand zu erledigen:\nden Ordner C:\\Tolvane entfernen: <reason 145>"));
}

// A registry that changes under Setup: when DisplayIcon is refused, another
// program has removed DisplayName, and from then on "Pfad" cannot be removed.
struct ChangingRegistry final : registry::Backend {
    MemoryRegistry inner;
    bool refused = false;
    long OpenKey(registry::Root root, const std::wstring& path, bool forWriting, Key* key) override {
        return inner.OpenKey(root, path, forWriting, key);
    }
    long CreateKey(registry::Root root, const std::wstring& path, Key* key) override { return inner.CreateKey(root, path, key); }
    long QueryValue(Key key, const std::wstring& name, std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) override {
        return inner.QueryValue(key, name, type, data, size);
    }
    long SetValue(Key key, const std::wstring& name, std::uint32_t type, const std::uint8_t* data, std::uint32_t size) override {
        if (name != kDisplayIconValue) return inner.SetValue(key, name, type, data, size);
        refused = true;
        inner.DeleteValue(key, registry::kDisplayNameValue);
        return winkit::kErrorAccessDenied;
    }
    long DeleteValue(Key key, const std::wstring& name) override {
        return refused && name == registry::kFolderValue ? winkit::kErrorAccessDenied : inner.DeleteValue(key, name);
    }
    long EnumKey(Key key, std::uint32_t index, std::wstring* name) override { return inner.EnumKey(key, index, name); }
    long EnumValue(Key key, std::uint32_t index, std::wstring* name) override { return inner.EnumValue(key, index, name); }
    long DeleteKey(registry::Root root, const std::wstring& path) override { return inner.DeleteKey(root, path); }
    void CloseKey(Key key) override { inner.CloseKey(key); }
};

TEST(RunInstall, AValueGoneMeanwhileIsUndoneAndOneThatCannotBeRemovedIsNamed) {
    FakeDisk disk;
    ChangingRegistry reg;
    reg.inner.PutString(registry::kSettingsKey, L"Modus", L"vbNormalFocus");
    const InstallReport report = RunInstall(Plan(L"C:\\Tolvane"), kSources, disk, reg);
    ASSERT_TRUE(reg.refused);
    std::vector<std::wstring> failed;
    for (const UndoneStep& step : report.undone)
        if (step.error != 0) failed.push_back(UndoText(step, Language::German));
    const std::wstring settings = L"HKEY_LOCAL_MACHINE\\" + std::wstring(registry::kSettingsKey);
    EXPECT_EQ(failed, (std::vector<std::wstring>{L"den Wert " + settings + L" \"Pfad\" entfernen"}));
    EXPECT_EQ(reg.inner.StoredText(registry::kSettingsKey, L"Modus"), L"vbNormalFocus");
    EXPECT_FALSE(disk.Exists(L"C:\\Tolvane"));
}

TEST(RunInstall, RefusedRegistryWritesAreAllNamedAndUndone) {
    FakeDisk disk;
    MemoryRegistry reg;
    reg.RefuseWrites();
    const InstallPlan plan = Plan(L"C:\\Tolvane\\", true);
    const InstallReport report = RunInstall(plan, kSources, disk, reg);
    EXPECT_FALSE(report.Complete());
    EXPECT_EQ(report.registryFailures.size(), PlannedRegistryWrites(plan, 0).size()) << "every write is tried";
    EXPECT_FALSE(disk.Exists(L"C:\\Tolvane"));
    const Explanation text = FailureText(plan, report, Reason, Language::English);
    for (const wchar_t* part : {L"HKEY_LOCAL_MACHINE\\software\\Varnholt\\Tolvane  \"Modus\": <reason 5>",
                                L"HKEY_LOCAL_MACHINE\\software\\microsoft\\windows\\currentversion\\run  \"Tolvane\"",
                                L"\"UninstallString\"", L"administrator rights"})
        EXPECT_TRUE(Contains(text.text, part)) << testing::PrintToString(std::wstring(part));
    EXPECT_TRUE(Contains(text.advice, L"start Setup.exe as administrator"));
}

TEST(RunUninstall, EndsTheLaunchersThenRemovesTheEntriesAndKeepsTheMakerKey) {
    MemoryRegistry reg;
    FakeDisk disk;
    ASSERT_TRUE(RunInstall(Plan(L"C:\\Tolvane\\", true), kSources, disk, reg).Complete());
    reg.PutString(registry::kRunKey, L"Other", L"C:\\other.exe");
    // Not written by Setup: once the folder is deleted, anybody could plant its program.
    reg.PutString(registry::kRunKey, L"Planted", L"\"c:\\tolvane\\Helper.exe\" /quiet");
    reg.PutString(User(registry::kRunKey), L"Tolvane", L"C:\\Tolvane\\Tolvane.exe");
    reg.PutString(User(registry::kRunKey), L"Other", L"C:\\other.exe");
    FakeLaunchers launchers;
    launchers.answer.ended = 1;
    const UninstallReport report = RunUninstall(reg, launchers, kSources.programPath);
    EXPECT_TRUE(report.Complete());
    EXPECT_EQ(launchers.asked, 1);
    EXPECT_EQ(report.launchers.ended, 1);
    EXPECT_FALSE(reg.HasValue(registry::kRunKey, L"Tolvane"));
    EXPECT_TRUE(reg.HasValue(registry::kRunKey, L"Other"));
    EXPECT_FALSE(reg.HasValue(registry::kRunKey, L"Planted"));
    EXPECT_EQ(launchers.programs, (std::vector<std::wstring>{L"C:\\Tolvane\\Tolvane.exe", L"C:\\Downloads\\Tolvane.exe"}));
    EXPECT_FALSE(reg.HasValue(User(registry::kRunKey), L"Tolvane")) << "the user's own";
    EXPECT_TRUE(reg.HasValue(User(registry::kRunKey), L"Other"));
    EXPECT_FALSE(reg.HasKey(registry::kUninstallKey));
    EXPECT_FALSE(reg.HasKey(registry::kSettingsKey));
    EXPECT_TRUE(reg.HasKey(testing_support::kMakerKey));
    EXPECT_TRUE(disk.Exists(L"C:\\Tolvane\\Tolvane.exe"));
}

TEST(RunUninstall, OnlyTheLaunchersOfTheInstallationAndBesideSetupAreEnded) {
    const struct {
        const wchar_t* location;  // nullptr: no entry
        const wchar_t* setup;
        std::vector<std::wstring> ended;
    } cases[] = {
        {L"C:\\Tolvane\\", L"C:\\Tolvane\\Setup.exe", {L"C:\\Tolvane\\Tolvane.exe"}},
        {L"C:\\Program Files\\Tolvane", L"D:\\Download\\Setup.exe",
         {L"C:\\Program Files\\Tolvane\\Tolvane.exe", L"D:\\Download\\Tolvane.exe"}},
        {nullptr, L"D:/Download/Setup.exe", {L"D:/Download/Tolvane.exe"}},
        {L" ", L"Setup.exe", {}},
    };
    for (const auto& c : cases) {
        MemoryRegistry reg;
        if (c.location) reg.PutString(registry::kUninstallKey, L"InstallLocation", c.location);
        EXPECT_EQ(LaunchersToEnd(reg, c.setup), c.ended) << testing::PrintToString(std::wstring(c.setup));
    }
}

TEST(RunUninstall, NothingInstalledIsNoFailureButARefusalIsReported) {
    MemoryRegistry empty;
    FakeLaunchers none;
    EXPECT_TRUE(RunUninstall(empty, none, kSources.programPath).Complete());

    MemoryRegistry reg;
    reg.PutString(registry::kRunKey, L"Tolvane", L"C:\\Tolvane\\Tolvane.exe");
    reg.RefuseWrites();
    const UninstallReport report = RunUninstall(reg, none, kSources.programPath);
    ASSERT_FALSE(report.Complete());
    const std::wstring text = UninstallFailureText(report, Reason, Language::English);
    EXPECT_TRUE(Contains(text, L"run  \"Tolvane\": <reason 5>")) << testing::PrintToString(text);
    EXPECT_TRUE(Contains(text, L"administrator rights"));

    MemoryRegistry user;
    user.PutString(User(registry::kRunKey), L"Tolvane", L"C:\\Tolvane\\Tolvane.exe");
    user.RefuseWrites(1018);  // ERROR_KEY_DELETED
    const std::wstring other = UninstallFailureText(RunUninstall(user, none, kSources.programPath), Reason, Language::English);
    EXPECT_TRUE(Contains(other,
                         L"HKEY_CURRENT_USER\\software\\microsoft\\windows\\currentversion\\run  \"Tolvane\": <reason 1018>"));
    EXPECT_FALSE(Contains(other, L"administrator")) << "not the cause";
}

TEST(Move, AValuePointsIntoAFolderByAProgramOrAnArgumentInIt) {
    const struct {
        const wchar_t* text;
        bool into;  // whether it points into C:\Old\ (a folder)
    } cases[] = {
        {L"C:\\Old\\Tolvane.exe", true},
        {L"\"c:\\OLD\\Tolvane.exe\" /x", true},
        {L"rundll32.exe C:\\Old\\Sub\\x.dll,Run", true},
        {L"C:\\Older\\Tolvane.exe", false},
        {L"D:\\C:\\Old\\x.exe", false},
        {L"C:\\Old", false},
        {L"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(PointsInto(c.text, L"C:\\Old\\"), c.into) << testing::PrintToString(std::wstring(c.text));
    EXPECT_FALSE(PointsInto(L"C:\\Old\\x.exe", L""));
}

// Installed in C:\Old\ with autostart, and a value of another program there.
TEST(Move, EveryMachineValueIntoTheOldFolderGoesOnlyWithTheWholeInstallation) {
    const struct {
        const char* name;
        const wchar_t* folder;
        bool autostart;
        const wchar_t* refused;  // a removal Windows refuses
        const wchar_t* run;      // the Run value "Tolvane" afterwards; nullptr: none
        std::vector<std::wstring> removed;
    } cases[] = {
        {"autostart again", L"C:\\New", true, nullptr, L"C:\\New\\Tolvane.exe", {L"Planted"}},
        {"autostart not chosen again", L"C:\\New", false, nullptr, nullptr, {L"Tolvane", L"Planted"}},
        {"a folder inside the old one keeps the new values", L"C:\\Old\\New", true, nullptr,
         L"C:\\Old\\New\\Tolvane.exe", {L"Planted"}},
        {"a refused removal undoes all", L"C:\\New", true, L"Planted", L"C:\\Old\\Tolvane.exe", {L"Planted"}},
        {"a removal before the refused one is put back", L"C:\\New", false, L"Planted", L"C:\\Old\\Tolvane.exe",
         {L"Tolvane", L"Planted"}},
    };
    for (const auto& c : cases) {
        FakeDisk disk;
        MemoryRegistry reg;
        ASSERT_TRUE(RunInstall(Plan(L"C:\\Old", true), kSources, disk, reg).Complete());
        reg.PutString(registry::kRunKey, L"Planted", L"\"C:\\Old\\x.exe\"");
        reg.PutString(registry::kRunKey, L"Other", L"C:\\Tools\\x.exe");
        const std::vector<std::wstring> before = RegistryState(reg);
        if (c.refused) reg.RefuseValue(c.refused);
        InstallPlan plan = Plan(c.folder, c.autostart);
        plan.movedFrom = L"C:\\Old\\";
        const InstallReport report = RunInstall(plan, kSources, disk, reg);
        EXPECT_EQ(report.removed, c.removed) << c.name;
        EXPECT_EQ(report.Complete(), c.refused == nullptr) << c.name;
        EXPECT_EQ(reg.HasValue(registry::kRunKey, L"Tolvane"), c.run != nullptr) << c.name;
        if (c.run) {
            EXPECT_EQ(reg.StoredText(registry::kRunKey, L"Tolvane"), c.run) << c.name;
        }
        EXPECT_EQ(reg.HasValue(registry::kRunKey, L"Planted"), c.refused != nullptr) << c.name;
        EXPECT_TRUE(reg.HasValue(registry::kRunKey, L"Other")) << c.name;
        if (c.refused) {
            EXPECT_EQ(RegistryState(reg), before) << c.name;
            EXPECT_FALSE(disk.Exists(L"C:\\New")) << c.name;
        } else {
            EXPECT_EQ(reg.StoredText(registry::kUninstallKey, L"InstallLocation"), plan.installFolder) << c.name;
            EXPECT_EQ(RunValuesInto(reg, L"C:\\Old\\", plan.installFolder).size(), 0u) << c.name;
        }
        EXPECT_TRUE(disk.Exists(L"C:\\Old\\Tolvane.exe")) << c.name << ": the old files stay";
    }
}

// Which launchers the Restart Manager ends and starts again, and when the
// close message on this desktop takes its place.
TEST(StopLaunchers, TheRestartManagerWhereItWorksTheDesktopWhereItCannot) {
    const struct {
        const char* name;
        std::function<void(FakeRestartManager&)> arrange;
        RunningLaunchers::Ended desktop;
        bool restartable;
        std::vector<std::wstring> calls;
        bool restart;
        bool desktopStart;  // Setup starts this desktop's launcher itself
        const wchar_t* logged;
    } cases[] = {
        {"no Restart Manager (Windows 7 without its update)", [](FakeRestartManager& m) { m.startError = 126; },
         {1, 0}, true, {L"start"}, false, true,
         L"The Restart Manager: <reason 126> Tolvane was running on this desktop; Setup has ended it."},
        {"files refused", [](FakeRestartManager& m) { m.registerError = 87; }, {0, 0}, true, {L"start", L"register"},
         false, true, L"The Restart Manager: <reason 87>"},
        {"Wine: success, no process listed", [](FakeRestartManager&) {}, {1, 0}, true,
         {L"start", L"register", L"users"}, false, true, L"Tolvane was running on this desktop; Setup has ended it."},
        {"nothing running", [](FakeRestartManager&) {}, {0, 0}, true, {L"start", L"register", L"users"}, false, true, L""},
        {"in place, this session's among them",
         [](FakeRestartManager& m) { m.users = 2, m.inThisSession = true; }, {0, 0}, true,
         {L"start", L"register", L"users", L"shutdown", L"restart"}, true, false,
         L"The Restart Manager ended Tolvane in every session."},
        {"other sessions only", [](FakeRestartManager& m) { m.users = 1; }, {0, 0}, true,
         {L"start", L"register", L"users", L"shutdown", L"restart"}, true, true, L"in every session."},
        {"some did not end", [](FakeRestartManager& m) { m.users = 2, m.inThisSession = true, m.shutdownError = 351; },
         {0, 1}, true, {L"start", L"register", L"users", L"shutdown", L"restart"}, true, false,
         L"ended Tolvane in every session. The Restart Manager: <reason 351> Tolvane is still running on this desktop"},
        {"shutdown cancelled", [](FakeRestartManager& m) { m.users = 1, m.inThisSession = true, m.shutdownError = 1223; },
         {1, 0}, true, {L"start", L"register", L"users", L"shutdown"}, false, true, L"Manager: <reason 1223> Tolvane was"},
        {"a move starts the new files, not the old", [](FakeRestartManager& m) { m.users = 1, m.inThisSession = true; },
         {0, 0}, false, {L"start", L"register", L"users", L"shutdown"}, false, true, L"in every session."},
        {"restart refused", [](FakeRestartManager& m) { m.users = 1, m.inThisSession = true, m.restartError = 5; },
         {0, 0}, true, {L"start", L"register", L"users", L"shutdown", L"restart"}, true, true, L"in every session."},
    };
    const std::vector<std::wstring> programs{L"C:\\Tolvane\\Tolvane.exe"};
    for (const auto& c : cases) {
        FakeRestartManager manager;
        c.arrange(manager);
        FakeLaunchers desktop;
        desktop.answer = c.desktop;
        const LauncherStop stop = StopLaunchers(manager, desktop, programs, c.restartable);
        const long restartError = RestartLaunchers(manager, stop);
        EXPECT_EQ(manager.calls, c.calls) << c.name;
        EXPECT_EQ(stop.restart, c.restart) << c.name;
        EXPECT_EQ(DesktopStartNeeded(stop, restartError), c.desktopStart) << c.name;
        EXPECT_EQ(desktop.programs, programs) << c.name << ": the desktop is always asked after";
        const std::wstring text = LauncherStopText(stop, Reason);
        EXPECT_TRUE(c.logged[0] == 0 ? text.empty() : Contains(text, c.logged) && text.back() != L' ')
            << c.name << ": " << testing::PrintToString(text);
    }
}

TEST(StartFailure, NamesTheProgramAndTheReason) {
    const std::wstring text = StartFailureText(LauncherStart(Plan(L"C:\\Tolvane\\")), 193, Reason);
    EXPECT_TRUE(Contains(text, L"C:\\Tolvane\\Tolvane.exe"));
    EXPECT_TRUE(Contains(text, L"<reason 193>"));
    EXPECT_TRUE(Contains(text, L"could not be started"));
}
