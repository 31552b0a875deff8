#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>

#include "../../version/Version.h"
#include "Install.h"
#include "MemoryRegistry.h"
#include "RegistryLayout.h"
#include "SecurityDescriptor.h"
#include "Flow.h"

using namespace setup;
using testing_support::MemoryRegistry;
using testing_support::User;

namespace {

constexpr long kErrorPathNotFound = 3;  // ERROR_PATH_NOT_FOUND

std::wstring Lower(std::wstring text) {
    for (auto& ch : text) ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    return text;
}

std::wstring Parent(const std::wstring& path) {
    const auto slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// A drive in memory with the semantics Install relies on: one folder level per
// creation, copies that replace, files that can be in use or refuse writes.
class FakeFiles final : public FileService {
public:
    std::set<std::wstring> folders{L"c:", L"c:\\downloads"};
    std::map<std::wstring, std::string> files;  // lower-case path -> content
    std::map<std::wstring, long> inUse;  // lower-case path -> what a copy onto it gives
    std::set<std::wstring> readOnlyFolders;
    std::set<std::wstring> links;
    std::map<std::wstring, std::wstring> security;  // lower-case folder -> SDDL; absent: as Setup makes it
    long protectError = 0;
    std::vector<std::wstring> calls;

    void Put(const std::wstring& path, const std::string& content) { files[Lower(path)] = content; }
    bool Has(const std::wstring& path) const { return files.count(Lower(path)) != 0; }
    std::string Content(const std::wstring& path) const { return files.at(Lower(path)); }

    std::wstring FirstMatch(const std::wstring& pattern) override {
        calls.push_back(L"search " + pattern);
        const std::wstring p = Lower(pattern);
        if (p.size() >= 2 && p.substr(p.size() - 2) == L"\\*") {
            const std::wstring folder = p.substr(0, p.size() - 2);
            for (const auto& f : files)
                if (Parent(f.first) == folder) return f.first.substr(folder.size() + 1);
            for (const auto& d : folders)
                if (Parent(d) == folder) return d.substr(folder.size() + 1);
            return L"";
        }
        if (folders.count(p) != 0 || files.count(p) != 0) return p.substr(p.find_last_of(L'\\') + 1);
        return L"";
    }
    std::wstring FullPath(const std::wstring& path) override { return path; }
    DriveKind KindOfDrive(const std::wstring&) override { return DriveKind::Fixed; }
    bool IsLink(const std::wstring& path) override { return links.count(Lower(path)) != 0; }
    winkit::Win32Result ReadSecurity(const std::wstring& path, std::wstring* sddl) override {
        const auto known = security.find(Lower(path));
        // "": Windows refuses to hand the permissions out.
        if (known != security.end() && known->second.empty())
            return winkit::Win32Result::Failure(winkit::kErrorAccessDenied, L"refused");
        *sddl = known != security.end() ? known->second : ToSddl(ProtectedFolder());
        return {};
    }
    winkit::Win32Result Protect(const std::wstring& path, const std::wstring& sddl) override {
        calls.push_back(L"protect " + path);
        if (protectError != 0) return winkit::Win32Result::Failure(protectError, L"refused");
        security[Lower(path)] = sddl;
        return {};
    }
    winkit::Win32Result CreateFolder(const std::wstring& path, const std::wstring& sddl) override {
        calls.push_back(L"create " + path);
        const std::wstring p = Lower(path);
        if (p.empty()) return winkit::Win32Result::Failure(kErrorPathNotFound, L"refused");
        if (folders.count(p) != 0 || files.count(p) != 0) return winkit::Win32Result::Failure(winkit::kErrorAlreadyExists, L"refused");
        if (folders.count(Parent(p)) == 0) return winkit::Win32Result::Failure(kErrorPathNotFound, L"refused");
        if (readOnlyFolders.count(Parent(p)) != 0) return winkit::Win32Result::Failure(winkit::kErrorAccessDenied, L"refused");
        folders.insert(p);
        security[p] = sddl;
        return {};
    }
    bool IsFolder(const std::wstring& path) override { return folders.count(Lower(path)) != 0; }
    bool IsFile(const std::wstring& path) override { return files.count(Lower(path)) != 0; }
    bool SameFile(const std::wstring& a, const std::wstring& b) override { return Lower(a) == Lower(b); }
    winkit::Win32Result CopyReplacing(const std::wstring& from, const std::wstring& to) override {
        calls.push_back(L"copy " + from + L" -> " + to);
        const auto source = files.find(Lower(from));
        if (source == files.end()) return winkit::Win32Result::Failure(winkit::kErrorFileNotFound, L"refused");
        const std::wstring target = Lower(to);
        if (folders.count(Parent(target)) == 0) return winkit::Win32Result::Failure(kErrorPathNotFound, L"refused");
        if (const auto busy = inUse.find(target); busy != inUse.end()) return winkit::Win32Result::Failure(busy->second, L"in use");
        if (readOnlyFolders.count(Parent(target)) != 0) return winkit::Win32Result::Failure(winkit::kErrorAccessDenied, L"refused");
        files[target] = source->second;
        return {};
    }
};

FakeFiles DownloadsWithAllThree() {
    FakeFiles fs;
    fs.Put(L"C:\\Downloads\\Tolvane.exe", "launcher");
    fs.Put(L"C:\\Downloads\\Setup.exe", "installer");
    fs.Put(L"C:\\Downloads\\Readme.txt", "readme");
    return fs;
}

std::wstring Reason(long error) { return L"<reason " + std::to_wstring(error) + L">"; }

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// A log file that takes lines until a disk fills up after `room` of them.
struct FakeLog final : Log {
    std::vector<std::wstring> lines;
    std::size_t room = 1000;
    winkit::Win32Result Write(const std::wstring& line) override {
        if (lines.size() >= room) return winkit::Win32Result::Failure(112, L"Could not write to the log");
        lines.push_back(line);
        return {};
    }
};

}  // namespace

TEST(InstallPlan, FolderTextBecomesOneTrailingBackslash) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* pattern;
        const wchar_t* toCreate;
        const wchar_t* installFolder;
    } cases[] = {
        {L"C:\\Tolvane\\", L"C:\\Tolvane\\*", L"C:\\Tolvane", L"C:\\Tolvane\\"},
        {L"D:\\Tools\\Tolvane", L"D:\\Tools\\Tolvane", L"D:\\Tools\\Tolvane", L"D:\\Tools\\Tolvane\\"},
        {L"C:\\Tolvane\\\\", L"C:\\Tolvane\\\\*", L"C:\\Tolvane\\", L"C:\\Tolvane\\\\"},  // only one is cut
        {L"C:\\", L"C:\\*", L"C:", L"C:\\"},
        {L"E:", L"E:", L"E:", L"E:\\"},
        {L"C:\\Program Files\\Tolvane\\", L"C:\\Program Files\\Tolvane\\*", L"C:\\Program Files\\Tolvane",
         L"C:\\Program Files\\Tolvane\\"},
    };
    for (const auto& c : cases) {
        const InstallPlan plan = MakeInstallPlan(c.typed, L"C:\\Downloads", false);
        EXPECT_EQ(plan.searchPattern, c.pattern) << c.typed;
        EXPECT_EQ(plan.folderToCreate, c.toCreate) << c.typed;
        EXPECT_EQ(plan.installFolder, c.installFolder) << c.typed;
    }
}

TEST(InstallPlan, SourceFolderGetsABackslashOnlyWhenMissing) {
    EXPECT_EQ(MakeInstallPlan(L"C:\\T\\", L"C:\\Downloads", false).sourceFolder, L"C:\\Downloads\\");
    EXPECT_EQ(MakeInstallPlan(L"C:\\T\\", L"E:\\", false).sourceFolder, L"E:\\");
    EXPECT_EQ(SourceFolderFrom(L"\\\\server\\share\\x"), L"\\\\server\\share\\x\\");
}

TEST(InstallPlan, OnlyFullPathsOnFixedLocalDrivesAreUsed) {
    const std::wstring longest = L"C:\\" + std::wstring(kMaxFolderLength - 3, L'x');
    const struct {
        std::wstring typed;
        std::wstring full;
        DriveKind drive;
        const wchar_t* says;  // nullptr: accepted
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
        {longest + L"y", longest + L"y", DriveKind::Fixed, L"longer than 200 characters"},
        {longest, longest, DriveKind::Fixed, nullptr},
        {L"C:\\Tolvane\\", L"C:\\Tolvane\\", DriveKind::Fixed, nullptr},
        {L"c:/Program Files/Tolvane", L"c:\\Program Files\\Tolvane", DriveKind::Fixed, nullptr},
    };
    for (const auto& c : cases) {
        const auto refusal = RefuseFolderText(c.typed, c.full, c.drive);
        EXPECT_EQ(refusal.has_value(), c.says != nullptr) << testing::PrintToString(c.typed);
        if (refusal && c.says) {
            EXPECT_TRUE(Contains(*refusal, c.says)) << testing::PrintToString(*refusal);
        }
    }
}

TEST(InstallPlan, RegistryWritesInOrderWithQuotesOnlyForBlanks) {
    struct Case {
        const wchar_t* typed;
        bool autostart;
        std::vector<std::pair<std::wstring, std::wstring>> expected;  // value name -> data (first five)
    } cases[] = {
        {L"C:\\Tolvane\\", true,
         {{L"Tolvane", L"C:\\Tolvane\\Tolvane.exe"}, {L"Modus", L"vbMaximizedFocus"}, {L"Pfad", L"C:\\"},
          {L"DisplayName", L"Varnholt Tolvane"}, {L"UninstallString", L"C:\\Tolvane\\Setup.exe"}}},
        {L"C:\\Tolvane\\", false,
         {{L"Modus", L"vbMaximizedFocus"}, {L"Pfad", L"C:\\"}, {L"DisplayName", L"Varnholt Tolvane"},
          {L"UninstallString", L"C:\\Tolvane\\Setup.exe"},
          {L"QuietUninstallString", L"\"C:\\Tolvane\\Setup.exe\" /UNINSTALL /S"}}},
        {L"C:\\Program Files\\Tolvane", true,
         {{L"Tolvane", L"\"C:\\Program Files\\Tolvane\\Tolvane.exe\""}, {L"Modus", L"vbMaximizedFocus"},
          {L"Pfad", L"C:\\"}, {L"DisplayName", L"Varnholt Tolvane"},
          {L"UninstallString", L"\"C:\\Program Files\\Tolvane\\Setup.exe\""},
          {L"QuietUninstallString", L"\"C:\\Program Files\\Tolvane\\Setup.exe\" /UNINSTALL /S"}}},
    };
    for (const auto& c : cases) {
        const auto writes = PlannedRegistryWrites(MakeInstallPlan(c.typed, L"C:\\Downloads", c.autostart));
        ASSERT_EQ(writes.size(), (c.autostart ? 12u : 11u)) << c.typed;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(writes[i].value, c.expected[i].first) << c.typed << " #" << i;
            EXPECT_EQ(writes[i].text, c.expected[i].second) << c.typed << " #" << i;
            EXPECT_EQ(writes[i].type, registry::kTypeSz);
        }
        EXPECT_EQ(std::wstring(writes[0].key),
                  c.autostart ? registry::kRunKey : registry::kSettingsKey);
    }
}

TEST(InstallPlan, LauncherIsStartedByItsFullPathMinimized) {
    const StartCommand start = LauncherStart(MakeInstallPlan(L"C:\\Program Files\\T\\", L"C:\\Downloads", false));
    EXPECT_EQ(start.programPath, L"C:\\Program Files\\T\\Tolvane.exe");
    EXPECT_EQ(start.workingFolder, L"C:\\Program Files\\T\\");
    EXPECT_EQ(start.showState, 2);
}

TEST(RunInstall, FreshFolderGetsTheFilesAndEveryRegistryEntry) {
    FakeFiles fs = DownloadsWithAllThree();
    MemoryRegistry reg;
    const InstallPlan plan = MakeInstallPlan(L"C:\\Tolvane\\", L"C:\\Downloads", true);
    const InstallReport report = RunInstall(plan, fs, reg);
    ASSERT_TRUE(report.Complete());
    EXPECT_TRUE(report.folderCreated);
    EXPECT_EQ(fs.calls, (std::vector<std::wstring>{
                            L"search C:\\Tolvane\\*", L"create C:\\Tolvane",
                            L"copy C:\\Downloads\\Tolvane.exe -> C:\\Tolvane\\Tolvane.exe",
                            L"copy C:\\Downloads\\Setup.exe -> C:\\Tolvane\\Setup.exe",
                            L"copy C:\\Downloads\\Readme.txt -> C:\\Tolvane\\Readme.txt"}));
    EXPECT_EQ(fs.Content(L"C:\\Tolvane\\Setup.exe"), "installer");
    EXPECT_EQ(reg.StoredText(registry::kRunKey, L"Tolvane"), L"C:\\Tolvane\\Tolvane.exe");
    EXPECT_EQ(reg.StoredText(registry::kSettingsKey, L"Modus"), L"vbMaximizedFocus");
    EXPECT_EQ(reg.StoredText(registry::kSettingsKey, L"Pfad"), L"C:\\");
    EXPECT_EQ(reg.StoredText(registry::kUninstallKey, L"UninstallString"), L"C:\\Tolvane\\Setup.exe");
    EXPECT_EQ(reg.StoredText(registry::kUninstallKey, L"DisplayVersion"), TOLVANE_WIDEN(TOLVANE_VERSION_TEXT));
    EXPECT_EQ(reg.StoredText(registry::kUninstallKey, L"Publisher"), L"Varnholt");
    EXPECT_EQ(reg.StoredText(registry::kUninstallKey, L"InstallLocation"), L"C:\\Tolvane\\");
    EXPECT_EQ(reg.StoredText(registry::kUninstallKey, L"DisplayIcon"), L"C:\\Tolvane\\Tolvane.exe");
    for (const wchar_t* flag : {L"NoModify", L"NoRepair"}) {
        const auto* value = reg.Find(registry::kUninstallKey, flag);
        ASSERT_NE(value, nullptr) << flag;
        EXPECT_EQ(value->type, registry::kTypeDword);
        EXPECT_EQ(value->data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    }
}

TEST(RunInstall, NewFolderIsCreatedProtectedInTheSameCall) {
    FakeFiles fs = DownloadsWithAllThree();
    MemoryRegistry reg;
    ASSERT_TRUE(RunInstall(MakeInstallPlan(L"C:\\Tolvane\\", L"C:\\Downloads", false), fs, reg).Complete());
    const auto requested = ParseSddl(fs.security.at(L"c:\\tolvane"));
    ASSERT_TRUE(requested.has_value());
    EXPECT_EQ(requested->owner, kAdministratorsSid);
    EXPECT_TRUE(requested->hasDacl);
    EXPECT_TRUE(requested->daclProtected);
    const std::vector<std::pair<std::wstring, std::uint32_t>> expected = {
        {kSystemSid, kFullControl}, {kAdministratorsSid, kFullControl}, {kUsersSid, kReadAndExecute}};
    ASSERT_EQ(requested->dacl.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(requested->dacl[i].allow);
        EXPECT_EQ(requested->dacl[i].sid, expected[i].first);
        EXPECT_EQ(requested->dacl[i].mask, expected[i].second);
        EXPECT_EQ(requested->dacl[i].flags, kObjectInherit | kContainerInherit);
    }
}

TEST(RunInstall, ExistingFolderChangeableByUsersIsProtectedOnlyWhenAgreed) {
    const std::wstring byUser = L"O:S-1-5-21-1-2-3-1001D:(A;OICI;FA;;;S-1-5-21-1-2-3-1001)";
    const struct {
        const char* name;
        std::wstring sddl;
        bool link;
        bool agreed;
        bool asked;
        std::optional<FailedStep> failure;
        const wchar_t* says;
    } cases[] = {
        {"as Setup makes it", ToSddl(ProtectedFolder()), false, false, false, std::nullopt, nullptr},
        {"owned by a user, Yes", byUser, false, true, true, std::nullopt, nullptr},
        {"owned by a user, No", byUser, false, false, true, FailedStep::FolderUnprotected,
         L"can be changed by users without administrator rights"},
        {"not understood, No", L"not sddl", false, false, true, FailedStep::FolderUnprotected, L"Nothing was changed"},
        {"unreadable, Yes", L"", false, true, true, std::nullopt, nullptr},
        {"junction", byUser, true, true, false, FailedStep::FolderIsLink, L"is a link"},
    };
    for (const auto& c : cases) {
        FakeFiles fs = DownloadsWithAllThree();
        fs.folders.insert(L"c:\\tolvane");
        fs.security[L"c:\\tolvane"] = c.sddl;
        if (c.link) fs.links.insert(L"c:\\tolvane");
        MemoryRegistry reg;
        InstallPlan plan = MakeInstallPlan(L"C:\\Tolvane\\", L"C:\\Downloads", false);
        EXPECT_EQ(NeedsProtection(plan, fs), c.asked) << c.name;
        plan.protectExisting = c.agreed;
        const InstallReport report = RunInstall(plan, fs, reg);
        const bool protectedNow = std::count(fs.calls.begin(), fs.calls.end(), L"protect C:\\Tolvane") == 1;
        EXPECT_EQ(protectedNow, c.asked && c.agreed) << c.name;
        EXPECT_EQ(report.folderProtected, protectedNow) << c.name;
        ASSERT_EQ(report.failure.has_value(), c.failure.has_value()) << c.name;
        if (!c.failure) {
            EXPECT_TRUE(report.Complete()) << c.name;
            EXPECT_FALSE(ChangeableByNonAdministrators(*ParseSddl(fs.security.at(L"c:\\tolvane")))) << c.name;
            continue;
        }
        EXPECT_EQ(report.failure->step, *c.failure) << c.name;
        EXPECT_TRUE(report.copied.empty()) << c.name;
        EXPECT_FALSE(reg.HasKey(registry::kSettingsKey)) << c.name;
        EXPECT_TRUE(Contains(FailureText(plan, report, Reason), c.says)) << c.name;
    }
}

TEST(RunInstall, ADrivesRootIsCheckedAsItselfNotAsTheCurrentFolderThere) {
    FakeFiles fs;
    fs.folders.insert(L"e:\\");
    fs.security[L"e:\\"] = L"O:BAD:PAI(A;OICI;FA;;;AU)";
    EXPECT_TRUE(NeedsProtection(MakeInstallPlan(L"E:\\", L"C:\\Downloads", false), fs));
}

TEST(RunInstall, RefusedProtectionStopsBeforeAnyCopy) {
    FakeFiles fs = DownloadsWithAllThree();
    fs.folders.insert(L"c:\\tolvane");
    fs.security[L"c:\\tolvane"] = L"O:BAD:PAI(A;OICI;0x1301bf;;;AU)";
    fs.protectError = winkit::kErrorAccessDenied;
    MemoryRegistry reg;
    InstallPlan plan = MakeInstallPlan(L"C:\\Tolvane", L"C:\\Downloads", false);
    plan.protectExisting = true;
    const InstallReport report = RunInstall(plan, fs, reg);
    ASSERT_TRUE(report.failure.has_value());
    EXPECT_EQ(report.failure->step, FailedStep::ProtectFolder);
    EXPECT_TRUE(report.copied.empty());
    EXPECT_TRUE(Contains(FailureText(plan, report, Reason), L"<reason 5>"));
}

TEST(RunInstall, ExistingFolderIsNotCreatedAndOldFilesAreReplaced) {
    FakeFiles fs = DownloadsWithAllThree();
    fs.folders.insert(L"c:\\tolvane");
    fs.Put(L"C:\\Tolvane\\Tolvane.exe", "old launcher");
    MemoryRegistry reg;
    reg.PutString(registry::kSettingsKey, L"Modus", L"vbNormalFocus");
    reg.PutString(registry::kSettingsKey, L"Pfad", L"D:\\Work");
    reg.PutString(registry::kRunKey, L"Tolvane", L"left by the launcher");
    const InstallReport report = RunInstall(MakeInstallPlan(L"C:\\Tolvane\\", L"C:\\Downloads", false), fs, reg);
    ASSERT_TRUE(report.Complete());
    EXPECT_FALSE(report.folderCreated);
    EXPECT_EQ(fs.Content(L"C:\\Tolvane\\Tolvane.exe"), "launcher");
    EXPECT_EQ(reg.StoredText(registry::kSettingsKey, L"Modus"), L"vbMaximizedFocus");
    EXPECT_EQ(reg.StoredText(registry::kSettingsKey, L"Pfad"), L"C:\\");
    EXPECT_EQ(reg.StoredText(registry::kRunKey, L"Tolvane"), L"left by the launcher") << "box clear: untouched";
}

TEST(RunInstall, EmptyExistingFolderTypedWithBackslashIsUsed) {
    FakeFiles fs = DownloadsWithAllThree();
    fs.folders.insert(L"c:\\tolvane");
    MemoryRegistry reg;
    const InstallReport report = RunInstall(MakeInstallPlan(L"C:\\Tolvane\\", L"C:\\Downloads", false), fs, reg);
    EXPECT_TRUE(report.Complete());
    EXPECT_FALSE(report.folderCreated);
    EXPECT_TRUE(fs.Has(L"C:\\Tolvane\\Readme.txt"));
}

TEST(RunInstall, DriveRootAsSource) {
    FakeFiles fs;
    fs.folders.insert(L"e:");
    fs.Put(L"E:\\Tolvane.exe", "l");
    fs.Put(L"E:\\Setup.exe", "s");
    fs.Put(L"E:\\Readme.txt", "r");
    MemoryRegistry reg;
    const InstallPlan plan = MakeInstallPlan(L"C:\\T", L"E:\\", false);
    const InstallReport report = RunInstall(plan, fs, reg);
    ASSERT_TRUE(report.Complete());
    EXPECT_EQ(fs.calls[2], L"copy E:\\Tolvane.exe -> C:\\T\\Tolvane.exe");
}

TEST(RunInstall, StartedFromTheInstallFolderSkipsCopiesOntoThemselves) {
    FakeFiles fs;
    fs.folders.insert(L"c:\\tolvane");
    fs.Put(L"C:\\Tolvane\\Tolvane.exe", "launcher");
    fs.Put(L"C:\\Tolvane\\Setup.exe", "installer");
    fs.Put(L"C:\\Tolvane\\Readme.txt", "readme");
    MemoryRegistry reg;
    const InstallReport report = RunInstall(MakeInstallPlan(L"c:\\tolvane", L"C:\\Tolvane", false), fs, reg);
    ASSERT_TRUE(report.Complete());
    EXPECT_EQ(report.skipped.size(), 3u);
    EXPECT_TRUE(report.copied.empty());
    EXPECT_EQ(fs.Content(L"C:\\Tolvane\\Setup.exe"), "installer");
}

TEST(RunInstall, FailingFileStepsStopThereAndTheMessageSaysWhatWasDone) {
    struct Case {
        const char* name;
        const wchar_t* typed;
        std::function<void(FakeFiles&)> arrange;
        FailedStep step;
        CopyProblem problem;
        std::vector<std::wstring> copied;
        std::vector<std::wstring> mustSay;
    } cases[] = {
        {"missing parent", L"C:\\A\\B\\", [](FakeFiles&) {}, FailedStep::CreateFolder, CopyProblem::Refused, {},
         {L"folder could not be created", L"C:\\A\\B", L"<reason 3>", L"Nothing was changed yet",
          L"press Install again"}},
        {"no right to create", L"C:\\Locked\\T", [](FakeFiles& fs) { fs.folders.insert(L"c:\\locked"); fs.readOnlyFolders.insert(L"c:\\locked"); },
         FailedStep::CreateFolder, CopyProblem::Refused, {}, {L"C:\\Locked\\T", L"<reason 5>"}},
        {"typed name is a file", L"C:\\Downloads\\Readme.txt", [](FakeFiles&) {}, FailedStep::CopyFile,
         CopyProblem::Refused, {},
         {L"could not be copied", L"C:\\Downloads\\Readme.txt\\Tolvane.exe", L"<reason 3>",
          L"Nothing was changed yet"}},
        // Typed with "\", the file's name finds no contents, so Setup tries to
        // create it as a folder: "already exists" is no folder to install into.
        {"typed name is a file, with backslash", L"C:\\Downloads\\Readme.txt\\", [](FakeFiles&) {},
         FailedStep::CreateFolder, CopyProblem::Refused, {},
         {L"folder could not be created", L"C:\\Downloads\\Readme.txt", L"<reason 183>",
          L"Nothing was changed yet"}},
        {"running launcher", L"C:\\Tolvane\\",
         [](FakeFiles& fs) {
             fs.folders.insert(L"c:\\tolvane");
             fs.inUse[L"c:\\tolvane\\tolvane.exe"] = winkit::kErrorSharingViolation;
         },
         FailedStep::CopyFile, CopyProblem::TargetInUse, {},
         {L"C:\\Tolvane\\Tolvane.exe is in use", L"exit Tolvane first", L"<reason 32>"}},
        {"launcher file locked", L"C:\\Tolvane\\",
         [](FakeFiles& fs) {
             fs.folders.insert(L"c:\\tolvane");
             fs.inUse[L"c:\\tolvane\\tolvane.exe"] = winkit::kErrorLockViolation;
         },
         FailedStep::CopyFile, CopyProblem::TargetInUse, {},
         {L"C:\\Tolvane\\Tolvane.exe is in use", L"exit Tolvane first", L"<reason 33>"}},
        {"readme mapped by another program", L"C:\\Tolvane\\",
         [](FakeFiles& fs) {
             fs.folders.insert(L"c:\\tolvane");
             fs.inUse[L"c:\\tolvane\\readme.txt"] = winkit::kErrorUserMappedFile;
         },
         FailedStep::CopyFile, CopyProblem::TargetInUse, {L"Tolvane.exe", L"Setup.exe"},
         {L"C:\\Tolvane\\Readme.txt is in use", L"<reason 1224>"}},
        {"readme missing", L"C:\\Tolvane\\", [](FakeFiles& fs) { fs.files.erase(L"c:\\downloads\\readme.txt"); },
         FailedStep::CopyFile, CopyProblem::SourceMissing, {L"Tolvane.exe", L"Setup.exe"},
         {L"missing beside Setup", L"C:\\Downloads\\Readme.txt", L"<reason 2>",
          L"the folder C:\\Tolvane was created; Tolvane.exe and Setup.exe were copied to C:\\Tolvane\\",
          L"Nothing of it was undone"}},
    };
    for (auto& c : cases) {
        FakeFiles fs = DownloadsWithAllThree();
        c.arrange(fs);
        MemoryRegistry reg;
        const InstallPlan plan = MakeInstallPlan(c.typed, L"C:\\Downloads", true);
        const InstallReport report = RunInstall(plan, fs, reg);
        ASSERT_TRUE(report.failure.has_value()) << c.name;
        EXPECT_EQ(report.failure->step, c.step) << c.name;
        EXPECT_EQ(report.failure->problem, c.problem) << c.name;
        EXPECT_EQ(report.copied, c.copied) << c.name;
        EXPECT_FALSE(reg.HasValue(registry::kRunKey, L"Tolvane")) << c.name << ": nothing is written after a failed file step";
        EXPECT_FALSE(reg.HasKey(registry::kSettingsKey)) << c.name;
        const std::wstring text = FailureText(plan, report, Reason);
        for (const auto& part : c.mustSay)
            EXPECT_TRUE(Contains(text, part)) << c.name << ": " << testing::PrintToString(part) << "\nin\n"
                                              << testing::PrintToString(text);
    }
}

TEST(RunInstall, RefusedRegistryWritesAreNotAFinishedInstallation) {
    FakeFiles fs = DownloadsWithAllThree();
    MemoryRegistry reg;
    reg.RefuseWrites();
    const InstallPlan plan = MakeInstallPlan(L"C:\\Tolvane\\", L"C:\\Downloads", true);
    const InstallReport report = RunInstall(plan, fs, reg);
    EXPECT_FALSE(report.Complete());
    EXPECT_FALSE(report.failure.has_value());
    EXPECT_EQ(report.copied.size(), 3u);
    EXPECT_EQ(report.registryFailures.size(), PlannedRegistryWrites(plan).size()) << "every write is attempted and reported";
    const std::wstring text = FailureText(plan, report, Reason);
    for (const wchar_t* part :
         {L"HKEY_LOCAL_MACHINE\\software\\Varnholt\\Tolvane  \"Modus\": <reason 5>",
          L"HKEY_LOCAL_MACHINE\\software\\microsoft\\windows\\currentversion\\run  \"Tolvane\"",
          L"\"UninstallString\"", L"administrator rights", L"files are installed in C:\\Tolvane\\",
          L"has not been started"})
        EXPECT_TRUE(Contains(text, part)) << testing::PrintToString(std::wstring(part)) << "\nin\n"
                                          << testing::PrintToString(text);
    EXPECT_FALSE(Contains(text, kFinishedText));
}

TEST(RunUninstall, RemovesTheEntriesAndKeepsTheMakerKey) {
    MemoryRegistry reg;
    FakeFiles fs = DownloadsWithAllThree();
    ASSERT_TRUE(RunInstall(MakeInstallPlan(L"C:\\Tolvane\\", L"C:\\Downloads", true), fs, reg).Complete());
    reg.PutString(registry::kRunKey, L"Other", L"C:\\other.exe");
    reg.PutString(User(registry::kRunKey), L"Tolvane", L"C:\\Tolvane\\Tolvane.exe");
    reg.PutString(User(registry::kRunKey), L"Other", L"C:\\other.exe");
    const UninstallReport report = RunUninstall(reg);
    EXPECT_TRUE(report.Complete());
    EXPECT_FALSE(reg.HasValue(registry::kRunKey, L"Tolvane"));
    EXPECT_TRUE(reg.HasValue(registry::kRunKey, L"Other"));
    EXPECT_FALSE(reg.HasValue(User(registry::kRunKey), L"Tolvane")) << "the user's own";
    EXPECT_TRUE(reg.HasValue(User(registry::kRunKey), L"Other"));
    EXPECT_FALSE(reg.HasKey(registry::kUninstallKey));
    EXPECT_FALSE(reg.HasKey(registry::kSettingsKey));
    EXPECT_TRUE(reg.HasKey(testing_support::kMakerKey));
    EXPECT_TRUE(fs.Has(L"C:\\Tolvane\\Tolvane.exe"));
}

TEST(RunUninstall, NothingInstalledIsNoFailureButARefusalIsReported) {
    MemoryRegistry empty;
    EXPECT_TRUE(RunUninstall(empty).Complete());

    MemoryRegistry reg;
    reg.PutString(registry::kRunKey, L"Tolvane", L"C:\\Tolvane\\Tolvane.exe");
    reg.RefuseWrites();
    const UninstallReport report = RunUninstall(reg);
    ASSERT_FALSE(report.Complete());
    const std::wstring text = UninstallFailureText(report, Reason);
    EXPECT_TRUE(Contains(text, L"run  \"Tolvane\": <reason 5>")) << testing::PrintToString(text);
    EXPECT_TRUE(Contains(text, L"administrator rights"));

    MemoryRegistry user;
    user.PutString(User(registry::kRunKey), L"Tolvane", L"C:\\Tolvane\\Tolvane.exe");
    user.RefuseWrites(1018);  // ERROR_KEY_DELETED
    EXPECT_TRUE(Contains(UninstallFailureText(RunUninstall(user), Reason),
                         L"HKEY_CURRENT_USER\\software\\microsoft\\windows\\currentversion\\run  \"Tolvane\": <reason 1018>"));
}

TEST(StartFailure, NamesTheProgramAndTheReason) {
    const InstallPlan plan = MakeInstallPlan(L"C:\\Tolvane\\", L"C:\\Downloads", false);
    const std::wstring text = StartFailureText(LauncherStart(plan), 193, Reason);
    EXPECT_TRUE(Contains(text, L"C:\\Tolvane\\Tolvane.exe"));
    EXPECT_TRUE(Contains(text, L"<reason 193>"));
    EXPECT_TRUE(Contains(text, L"could not be started"));
}

InstallRequest Default(bool autostart = false) { return {kInitialFolderText, autostart}; }

TEST(Flow, SilentRunsMakeTheWindowsChecksAndStepsWithAnExitCodeAndALog) {
    const std::wstring byUser = L"O:S-1-5-21-1-2-3-1001D:(A;OICI;FA;;;S-1-5-21-1-2-3-1001)";
    const struct {
        const char* name;
        InstallRequest request;
        bool existingUserFolder;
        bool launcherInUse;
        int exitCode;
        bool installed;
        const wchar_t* logged;     // a line holds this
        const wchar_t* notLogged;  // no line holds this
        const wchar_t* refusedValue = nullptr;
    } cases[] = {
        {"default folder", Default(true), false, false, kExitSuccess, true,
         L"Wrote HKEY_LOCAL_MACHINE\\software\\microsoft\\windows\\currentversion\\run \"Tolvane\"", L"Refused"},
        {"relative folder", {L"Tolvane\\"}, false, false, kExitBadSwitch, false, L"cannot be used", L"Copied"},
        {"users' folder protected unasked", {L"C:\\Tolvane\\"}, true, false, kExitSuccess, true,
         L"Protected the existing folder C:\\Tolvane", L"Refused"},
        {"launcher running", Default(), false, true, kExitFailed, false, L"is in use", L"Wrote"},
        {"one value refused", Default(), false, false, kExitFailed, true,
         L"Refused: HKEY_LOCAL_MACHINE\\software\\Varnholt\\Tolvane \"Pfad\"",
         L"Refused: HKEY_LOCAL_MACHINE\\software\\Varnholt\\Tolvane \"Modus\"", L"Pfad"},
    };
    for (const auto& c : cases) {
        FakeFiles fs = DownloadsWithAllThree();
        if (c.existingUserFolder) {
            fs.folders.insert(L"c:\\tolvane");
            fs.security[L"c:\\tolvane"] = byUser;
        }
        if (c.launcherInUse) {
            fs.folders.insert(L"c:\\tolvane");
            fs.inUse[L"c:\\tolvane\\tolvane.exe"] = winkit::kErrorSharingViolation;
        }
        MemoryRegistry reg;
        if (c.refusedValue) reg.RefuseValue(c.refusedValue);
        FakeLog log;
        SilentFront silent;
        const FlowResult result = InstallFlow(c.request, L"C:\\Downloads", fs, reg, silent, log, Reason);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(reg.HasKey(registry::kUninstallKey), c.installed) << c.name;
        EXPECT_EQ(reg.HasValue(registry::kRunKey, L"Tolvane"), c.installed && c.request.autostart) << c.name;
        ASSERT_FALSE(log.lines.empty()) << c.name;
        EXPECT_EQ(log.lines.back().rfind(L"Result: " + std::to_wstring(c.exitCode), 0), 0u) << c.name;
        EXPECT_TRUE(std::any_of(log.lines.begin(), log.lines.end(),
                                [&c](const std::wstring& line) { return Contains(line, c.logged); }))
            << c.name;
        EXPECT_FALSE(std::any_of(log.lines.begin(), log.lines.end(),
                                 [&c](const std::wstring& line) { return Contains(line, c.notLogged); }))
            << c.name;
    }
}

// The window's side of the flow: it answers, is told, and starts the launcher
// as the desktop's user (or finds no desktop).
struct WindowFront final : Front, UserStarter {
    bool answer = true;
    bool desktop = true;
    long startError = 0;
    int asked = 0;
    std::vector<std::wstring> titles;
    std::vector<std::wstring> texts;
    std::vector<StartCommand> starts;
    bool MayProtect(const std::wstring&) override { return ++asked, answer; }
    void Tell(const std::wstring& text, const wchar_t* title) override {
        texts.push_back(text);
        titles.push_back(title);
    }
    UserStarter* Starter() override { return this; }
    bool Available() override { return desktop; }
    winkit::Win32Result Start(const StartCommand& start) override {
        starts.push_back(start);
        return {startError, L"start"};
    }
};

TEST(Flow, TheWindowAsksTellsAndStartsTheLauncherOnlyAsTheDesktopsUser) {
    const std::wstring byUser = L"O:S-1-5-21-1-2-3-1001D:(A;OICI;FA;;;S-1-5-21-1-2-3-1001)";
    const struct {
        const char* name;
        std::function<void(FakeFiles&, WindowFront&)> arrange;
        const wchar_t* typed;
        Outcome outcome;
        std::vector<std::wstring> titles;
        std::size_t starts;
        const wchar_t* lastLine;
        const wchar_t* told;  // the first message holds this
    } cases[] = {
        {"installed and started", [](FakeFiles&, WindowFront&) {}, L"C:\\Tolvane\\", Outcome::Installed,
         {kFinishedTitle}, 1, L"Result: 0 installed", kFinishedText},
        {"no desktop", [](FakeFiles&, WindowFront& w) { w.desktop = false; }, L"C:\\Tolvane\\", Outcome::Installed,
         {kFinishedTitle}, 0, L"Result: 0 installed", L"start Tolvane from its folder, C:\\Tolvane\\"},
        {"start refused", [](FakeFiles&, WindowFront& w) { w.startError = 193; }, L"C:\\Tolvane\\",
         Outcome::InstalledNotStarted, {kFinishedTitle, kNotStartedTitle}, 1, L"Result: 0 installed", kFinishedText},
        {"folder refused", [](FakeFiles&, WindowFront&) {}, L"", Outcome::FolderRefused, {kNotFinishedTitle}, 0,
         L"Result: 1639 the folder cannot be used", L"Please type the folder"},
        {"users' folder, No", [&byUser](FakeFiles& fs, WindowFront& w) {
             fs.folders.insert(L"c:\\tolvane");
             fs.security[L"c:\\tolvane"] = byUser;
             w.answer = false;
         }, L"C:\\Tolvane", Outcome::Declined, {}, 0, L"Not installed: the answer to \"Protect the installation folder?\" was No", nullptr},
        {"launcher running", [](FakeFiles& fs, WindowFront&) {
             fs.folders.insert(L"c:\\tolvane");
             fs.inUse[L"c:\\tolvane\\tolvane.exe"] = winkit::kErrorSharingViolation;
         }, L"C:\\Tolvane\\", Outcome::Failed, {kNotFinishedTitle}, 0, L"Result: 1603 not installed", L"is in use"},
    };
    for (const auto& c : cases) {
        FakeFiles fs = DownloadsWithAllThree();
        WindowFront window;
        c.arrange(fs, window);
        MemoryRegistry reg;
        FakeLog log;
        const FlowResult result = InstallFlow({c.typed, false}, L"C:\\Downloads", fs, reg, window, log, Reason);
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(window.titles, c.titles) << c.name;
        EXPECT_EQ(window.starts.size(), c.starts) << c.name << ": never started by Setup itself";
        EXPECT_EQ(std::count(fs.calls.begin(), fs.calls.end(), L"protect C:\\Tolvane"), 0) << c.name;
        ASSERT_FALSE(log.lines.empty()) << c.name;
        EXPECT_EQ(log.lines.front(), std::wstring(L"Install to ") + c.typed) << c.name;
        EXPECT_EQ(log.lines.back().rfind(c.lastLine, 0), 0u) << c.name << ": " << testing::PrintToString(log.lines.back());
        if (c.told) {
            ASSERT_FALSE(window.texts.empty()) << c.name;
            EXPECT_TRUE(Contains(window.texts[0], c.told)) << c.name;
        }
        if (c.starts == 1) {
            EXPECT_EQ(window.starts[0].programPath, L"C:\\Tolvane\\Tolvane.exe") << c.name;
            EXPECT_TRUE(Contains(log.lines[log.lines.size() - 2], window.startError ? L"Could not start" : L"Started"))
                << c.name;
        }
    }
}

TEST(Flow, ALogThatLostLinesIsNoSuccess) {
    const struct {
        const char* name;
        std::size_t room;
        bool launcherInUse;
        int exitCode;
    } cases[] = {
        {"every line written", 1000, false, kExitSuccess},
        {"full after the first line", 1, false, kExitLogFailed},
        {"only the result lost", 16, false, kExitLogFailed},
        {"a failed step says more", 1, true, kExitFailed},
    };
    for (const auto& c : cases) {
        FakeFiles fs = DownloadsWithAllThree();
        if (c.launcherInUse) {
            fs.folders.insert(L"c:\\tolvane");
            fs.inUse[L"c:\\tolvane\\tolvane.exe"] = winkit::kErrorSharingViolation;
        }
        MemoryRegistry reg;
        FakeLog log;
        log.room = c.room;
        WindowFront window;
        const FlowResult result = InstallFlow(Default(true), L"C:\\Downloads", fs, reg, window, log, Reason);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        EXPECT_LE(log.lines.size(), c.room) << c.name << ": nothing is written after the failure";
        EXPECT_EQ(Contains(window.texts.back(), L"The log is incomplete: Could not write to the log.\nReason: <reason 112>"),
                  c.room != 1000)
            << c.name;
    }
    EXPECT_TRUE(Contains(LogOpenFailureText({3, L"Could not open the log C:\\x\\t.log"}, Reason),
                         L"changed nothing.\n\nCould not open the log C:\\x\\t.log\nReason: <reason 3>"));
}

TEST(Flow, UninstallTellsLogsAndReportsARefusalByItsExitCode) {
    MemoryRegistry reg;
    FakeLog log;
    WindowFront window;
    reg.PutString(registry::kUninstallKey, L"DisplayName", L"Varnholt Tolvane");
    EXPECT_EQ(UninstallFlow(reg, window, log, Reason).exitCode, kExitSuccess);
    EXPECT_FALSE(reg.HasKey(registry::kUninstallKey));
    EXPECT_EQ(log.lines.back(), L"Result: 0 uninstalled");
    EXPECT_EQ(window.titles, std::vector<std::wstring>{kUninstalledTitle});
    log.room = 0;
    EXPECT_EQ(UninstallFlow(reg, window, log, Reason).exitCode, kExitLogFailed);
    reg.PutString(registry::kUninstallKey, L"DisplayName", L"Varnholt Tolvane");
    reg.RefuseWrites();
    log.room = 1000;
    SilentFront silent;
    const FlowResult refused = UninstallFlow(reg, silent, log, Reason);
    EXPECT_EQ(refused.exitCode, kExitFailed);
    EXPECT_EQ(refused.outcome, Outcome::NotUninstalled);
    EXPECT_EQ(log.lines.back().rfind(L"Result: 1603 not uninstalled: Windows refused", 0), 0u);
}
