// Install.h, Uninstall.h and InstallTexts.h in one translation unit: apart,
// each would carry its own copies of the string helpers the compiler clones
// (1,536 bytes more in the i686 Setup, which has none to spare).
#include "Install.h"
#include "InstallTexts.h"
#include "Uninstall.h"

#include <algorithm>
#include <cwctype>

#include "../../version/Version.h"
#include "CommandLine.h"
#include "Decimal.h"
#include "Join.h"
#include "RegistryLayout.h"
#include "Rollback.h"
#include "SecurityDescriptor.h"
#include "Sha256.h"
#include "Text.h"

namespace setup {

namespace {

using winkit::IsPathSeparator;
using winkit::StartsWithDriveRoot;

TextId DriveText(DriveKind drive) {
    switch (drive) {
    case DriveKind::Remote:
        return TextId::DriveRemote;
    case DriveKind::Removable:
        return TextId::DriveRemovable;
    case DriveKind::CdRom:
        return TextId::DriveCdRom;
    default:
        return TextId::DriveNotFixed;
    }
}

// Characters no folder name may hold; a ":" after the drive would name a
// stream of a file instead of a folder.
constexpr wchar_t kForbidden[] = L"*?<>|\"";

// The folder names of a typed path, without the drive.
std::vector<std::wstring> PathParts(const std::wstring& text) {
    std::vector<std::wstring> parts(1);
    for (std::size_t i = 3; i < text.size(); ++i) {
        if (IsPathSeparator(text[i]))
            parts.emplace_back();
        else
            parts.back() += text[i];
    }
    return parts;
}

// Why the characters of a full path typed as "X:\..." cannot name the folder
// that Setup would check and then write to.
std::optional<std::wstring> RefuseCharacters(const std::wstring& typedText, Language language) {
    if (typedText.find(L':', 2) != std::wstring::npos) return FormatIn(language, TextId::FolderStream, {typedText});
    for (const wchar_t c : typedText)
        if (std::wstring_view(kForbidden).find(c) != std::wstring_view::npos || c < L' ')
            return FormatIn(language, TextId::FolderForbiddenCharacter, {typedText});
    for (const std::wstring& part : PathParts(typedText)) {
        if (!part.empty() && (part.back() == L' ' || part.back() == L'.'))
            return FormatIn(language, TextId::FolderNameEnd, {typedText, part});
    }
    return std::nullopt;
}

bool InUse(long error) {
    return error == winkit::kErrorSharingViolation || error == winkit::kErrorLockViolation ||
           error == winkit::kErrorUserMappedFile;
}

std::wstring FileName(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

}  // namespace

std::wstring UndoText(const UndoneStep& step, Language language) {
    static constexpr TextId kTexts[] = {TextId::UndoRemoveFolder, TextId::UndoRemoveFile,  TextId::UndoPutBackFile,
                                        TextId::UndoRemoveKey,    TextId::UndoRemoveValue, TextId::UndoPutBackValue};
    return FormatIn(language, kTexts[static_cast<int>(step.action)], {step.subject});
}

namespace {

// What a failed installation says it left behind.
std::wstring UndoSummary(const InstallReport& report, const winkit::ReasonText& reason, Language language) {
    if (report.undone.empty()) return TextIn(language, TextId::NothingChanged);
    std::wstring failed;
    for (const UndoneStep& step : report.undone)
        if (step.error != 0) failed += winkit::Join({L"\n", UndoText(step, language), L": ", reason(step.error)});
    if (failed.empty()) return TextIn(language, TextId::AllUndone);
    return FormatIn(language, TextId::NotAllUndone, {failed});
}

std::wstring RegistryList(const std::vector<RegistryFailure>& failures, const winkit::ReasonText& reason) {
    std::wstring text;
    for (const RegistryFailure& f : failures)
        text += winkit::Join({L"\n", registry::RootName(f.root), L"\\", f.key, L"  \"", f.value, L"\": ", reason(f.error)});
    return text;
}

void Record(std::vector<RegistryFailure>& failures, const wchar_t* key, const wchar_t* value,
            registry::Status status) {
    if (!status.Ok()) failures.push_back({key, value, status.code});
}

// Everything Install checks and does, with the rollback at the first failure.
class Installation {
public:
    Installation(const InstallPlan& plan, const Sources& sources, FileService& files, registry::Backend& backend,
                 BeforeCopy* beforeCopy)
        : m_plan(plan), m_sources(sources), m_files(files), m_backend(backend), m_beforeCopy(beforeCopy),
          m_rollback(backend) {}

    InstallReport Run() {
        if (!CheckVolume() || !CheckFoldersAbove() || !HoldFolder() || !CopyFiles() || !WriteValues() ||
            !RemoveOldValues()) {
            std::vector<UndoneStep> undone = m_rollback.UndoAll();
            m_report.undone.insert(m_report.undone.begin(), undone.begin(), undone.end());
        }
        return m_report;
    }

private:
    bool Fail(FailedStep step, const std::wstring& path, const std::wstring& source = L"", long error = 0) {
        m_report.failure = StepFailure{step, path, source, error};
        return false;
    }

    bool CheckVolume() {
        const std::wstring root = m_plan.folder.substr(0, 3);
        bool keeps = false;
        if (const winkit::Win32Result asked = m_files.KeepsPermissions(root, &keeps); !asked.Ok())
            return Fail(FailedStep::VolumeUnknown, root, L"", asked.code);
        return keeps || Fail(FailedStep::NoPermissions, root);
    }

    // Whoever may move a folder above the install folder could put another
    // folder, with programs of their own, in its place at any later logon.
    bool CheckFoldersAbove() {
        for (const std::wstring& above : FoldersAbove(m_plan.folder)) {
            // The root of Windows' own drive is Windows': whoever could move
            // its folders could as well move C:\Windows and C:\Program Files.
            if (m_files.SamePath(above, m_files.WindowsDriveRoot())) continue;
            FolderFacts facts;
            if (const winkit::Win32Result opened = m_files.Inspect(above, &facts); !opened.Ok()) {
                // Creating the folder would fail there the same way.
                if (opened.code == winkit::kErrorFileNotFound || opened.code == winkit::kErrorPathNotFound)
                    return Fail(FailedStep::CreateFolder, m_plan.folder, L"", winkit::kErrorPathNotFound);
                return Fail(FailedStep::FolderAboveUnsafe, above, L"", opened.code);
            }
            if (facts.link) return Fail(FailedStep::FolderAboveIsLink, above);
            if (!facts.security.Ok()) return Fail(FailedStep::FolderAboveUnsafe, above, L"", facts.security.code);
            const std::optional<SecurityDescriptor> descriptor = ParseSddl(facts.sddl);
            if (!descriptor || MovableByNonAdministrators(*descriptor))
                return Fail(FailedStep::FolderAboveUnsafe, above);
        }
        return true;
    }

    bool HoldFolder() {
        const winkit::Win32Result created = m_files.CreateFolder(m_plan.folder, ToSddl(ProtectedFolder()));
        if (!created.Ok() && created.code != winkit::kErrorAlreadyExists)
            return Fail(FailedStep::CreateFolder, m_plan.folder, L"", created.code);
        m_report.folderCreated = created.Ok();
        if (const winkit::Win32Result opened = m_files.OpenFolder(m_plan.folder, m_report.folderCreated, &m_folder);
            !opened.Ok()) {
            if (m_report.folderCreated)
                m_report.undone.push_back({UndoAction::RemoveFolder, m_plan.folder, opened.code});
            return Fail(FailedStep::OpenFolder, m_plan.folder, L"", opened.code);
        }
        if (m_report.folderCreated) m_rollback.FolderCreated(*m_folder, m_plan.folder);
        if (m_folder->IsLink()) return Fail(FailedStep::FolderIsLink, m_plan.folder);
        if (!m_folder->IsFolder()) return Fail(FailedStep::FolderIsFile, m_plan.folder);
        // A junction above it, or a short name for one of its folders, shows here.
        std::wstring finalPath;
        if (const winkit::Win32Result asked = m_folder->FinalPath(&finalPath); !asked.Ok())
            return Fail(FailedStep::OpenFolder, m_plan.folder, L"", asked.code);
        finalPath = WithoutLongPrefix(finalPath);
        if (!m_files.SamePath(finalPath, m_plan.folder))
            return Fail(FailedStep::FolderElsewhere, m_plan.folder, finalPath);
        // A folder made just now got its descriptor in the same call, and the
        // folders above let nobody else replace it since.
        if (m_report.folderCreated) return true;
        std::wstring sddl;
        if (const winkit::Win32Result read = m_folder->ReadSecurity(&sddl); !read.Ok())
            return Fail(FailedStep::FolderUnsafe, m_plan.folder, L"", read.code);
        const std::optional<SecurityDescriptor> descriptor = ParseSddl(sddl);
        return (descriptor && !ChangeableByNonAdministrators(*descriptor)) ||
               Fail(FailedStep::FolderUnsafe, m_plan.folder);
    }

    bool CopyFiles() {
        if (m_beforeCopy != nullptr) m_beforeCopy->Run();
        const bool runsFromFolder = m_folder->Is(m_plan.sourceFolder);
        for (const wchar_t* name : kInstalledFiles) {
            const bool own = std::wstring(name) == kSetupFile;
            const std::wstring source = own ? m_plan.programPath : m_plan.sourceFolder + name;
            const std::wstring target = m_plan.installFolder + name;
            Bytes bytes;
            bool tooLarge = false;
            const winkit::Win32Result read = own ? m_files.ReadOwnProgram(&bytes)
                                                 : m_files.ReadSource(source, &bytes, &tooLarge);
            if (!read.Ok()) return Fail(FailedStep::SourceMissing, target, source, read.code);
            if (!own) {
                const std::wstring& expected = std::wstring(name) == kLauncherFile ? m_sources.launcherSha256
                                               : std::wstring(name) == kReadmeFile ? m_sources.readmeSha256
                                                                                   : m_sources.germanReadmeSha256;
                if (tooLarge || Sha256Hex(bytes.data(), bytes.size()) != expected)
                    return Fail(FailedStep::SourceChanged, target, source);
            }
            m_report.installedBytes += bytes.size();
            // Started from the install folder: the file is already in place,
            // and writing it onto itself would at best fail.
            if (runsFromFolder && m_files.SamePath(FileName(source), name)) {
                m_report.skipped.push_back(name);
                continue;
            }
            std::optional<Bytes> previous;
            if (const winkit::Win32Result written = m_folder->Write(name, bytes, &previous); !written.Ok())
                return Fail(FailedStep::CopyFile, target, source, written.code);
            m_rollback.FileWritten(*m_folder, target, name, std::move(previous));
            m_report.copied.push_back(name);
        }
        return true;
    }

    // Every value is tried, so that the message names all that Windows refused.
    bool WriteValues() {
        for (const RegistryWrite& write : PlannedRegistryWrites(m_plan, m_report.installedBytes))
            Record(m_report.registryFailures, write.key, write.value, m_rollback.WriteValue(write));
        return m_report.registryFailures.empty() || Fail(FailedStep::Registry, m_plan.installFolder);
    }

    // After the new values are in place: a value left pointing into the old
    // folder would start whatever anybody puts there once it is deleted.
    bool RemoveOldValues() {
        if (m_plan.movedFrom.empty()) return true;
        m_report.removed = RunValuesInto(m_backend, m_plan.movedFrom, m_plan.installFolder);
        for (const std::wstring& old : m_report.removed)
            Record(m_report.registryFailures, registry::kRunKey, old.c_str(),
                   m_rollback.WriteValue({registry::kRunKey, old.c_str(), kRemove, {}}));
        return m_report.registryFailures.empty() || Fail(FailedStep::Registry, m_plan.movedFrom);
    }

    const InstallPlan& m_plan;
    const Sources& m_sources;
    FileService& m_files;
    registry::Backend& m_backend;
    BeforeCopy* m_beforeCopy;
    InstallReport m_report;
    // Declared before the rollback, which undoes through it.
    std::unique_ptr<HeldFolder> m_folder;
    Rollback m_rollback;
};

}  // namespace

std::optional<std::wstring> RefuseFolderText(const std::wstring& typedText, const std::wstring& fullPath,
                                             DriveKind drive, Language language) {
    if (typedText.find_first_not_of(L" \t\\") == std::wstring::npos)
        return FormatIn(language, TextId::FolderEmpty, {kInitialFolderText});
    const std::wstring fixedDriveOnly = std::wstring(L"\n\n") + TextIn(language, TextId::FixedDriveOnly);
    // GetFullPathNameW keeps "\\server\share" and "\\?\..." and turns a device name into "\\.\CON".
    if (fullPath.size() > 1 && IsPathSeparator(fullPath[0]) && IsPathSeparator(fullPath[1]))
        return FormatIn(language, TextId::FolderNetworkPath, {typedText}) + fixedDriveOnly;
    if (!StartsWithDriveRoot(typedText) || !StartsWithDriveRoot(fullPath))
        return FormatIn(language, TextId::FolderNotFull, {typedText, kInitialFolderText});
    if (const auto characters = RefuseCharacters(typedText, language)) return characters;
    const std::wstring_view full = fullPath;
    if (drive != DriveKind::Fixed) return FormatIn(language, DriveText(drive), {full.substr(0, 2)}) + fixedDriveOnly;
    if (fullPath.find_first_not_of(L'\\', 3) == std::wstring::npos)
        return FormatIn(language, TextId::DriveRoot, {full.substr(0, 3), kInitialFolderText});
    if (fullPath.size() > kMaxFolderLength)
        return FormatIn(language, TextId::FolderTooLong, {winkit::Decimal(kMaxFolderLength)});
    return std::nullopt;
}

InstallPlan MakeInstallPlan(const std::wstring& folderPath, const std::wstring& programPath, bool autostart) {
    InstallPlan plan;
    plan.folder = folderPath;
    while (plan.folder.size() > 3 && plan.folder.back() == L'\\') plan.folder.pop_back();
    plan.installFolder = plan.folder + L"\\";
    plan.programPath = programPath;
    plan.sourceFolder = programPath.substr(0, programPath.find_last_of(L'\\') + 1);
    plan.autostart = autostart;
    return plan;
}

std::vector<std::wstring> FoldersAbove(const std::wstring& folder) {
    std::vector<std::wstring> above{folder.substr(0, 3)};
    for (std::size_t at = folder.find(L'\\', 3); at != std::wstring::npos; at = folder.find(L'\\', at + 1))
        above.push_back(folder.substr(0, at));
    return above;
}

std::wstring WithoutLongPrefix(const std::wstring& finalPath) {
    if (finalPath.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + finalPath.substr(8);
    if (finalPath.rfind(L"\\\\?\\", 0) == 0) return finalPath.substr(4);
    return finalPath;
}

std::vector<RegistryWrite> PlannedRegistryWrites(const InstallPlan& plan, std::uint64_t installedBytes) {
    using registry::kTypeDword;
    using registry::kTypeSz;
    const std::wstring launcher = plan.installFolder + kLauncherFile;
    std::vector<RegistryWrite> writes;
    if (plan.autostart)
        writes.push_back({registry::kRunKey, registry::kRunValue, kTypeSz, winkit::QuoteProgramPath(launcher)});
    writes.push_back({registry::kSettingsKey, registry::kModeValue, kTypeSz, registry::kDefaultMode});
    writes.push_back({registry::kSettingsKey, registry::kFolderValue, kTypeSz, registry::kDefaultFolder});
    writes.push_back({registry::kUninstallKey, registry::kDisplayNameValue, kTypeSz, kDisplayName});
    writes.push_back({registry::kUninstallKey, registry::kUninstallStringValue, kTypeSz,
                      winkit::QuoteProgramPath(plan.installFolder + kSetupFile)});
    // Always quoted: arguments follow the path.
    writes.push_back({registry::kUninstallKey, kQuietUninstallStringValue, kTypeSz,
                      L"\"" + plan.installFolder + kSetupFile + L"\" /UNINSTALL /S"});
    writes.push_back({registry::kUninstallKey, kDisplayIconValue, kTypeSz, launcher});
    writes.push_back({registry::kUninstallKey, kDisplayVersionValue, kTypeSz, TOLVANE_WIDEN(TOLVANE_VERSION_TEXT)});
    writes.push_back({registry::kUninstallKey, kPublisherValue, kTypeSz, TOLVANE_WIDEN(TOLVANE_COMPANY_NAME)});
    writes.push_back({registry::kUninstallKey, kInstallLocationValue, kTypeSz, plan.installFolder});
    // In KB, as the list of installed programs shows it; a started KB counts.
    writes.push_back({registry::kUninstallKey, kEstimatedSizeValue, kTypeDword, L"",
                      static_cast<std::uint32_t>((installedBytes + 1023) / 1024)});
    writes.push_back({registry::kUninstallKey, kNoModifyValue, kTypeDword, L"", 1});
    writes.push_back({registry::kUninstallKey, kNoRepairValue, kTypeDword, L"", 1});
    return writes;
}

StartCommand LauncherStart(const InstallPlan& plan) {
    StartCommand start;
    start.programPath = plan.installFolder + kLauncherFile;
    start.workingFolder = plan.installFolder;
    start.showState = kLauncherShowState;
    return start;
}

InstallReport RunInstall(const InstallPlan& plan, const Sources& sources, FileService& files,
                         registry::Backend& backend, BeforeCopy* beforeCopy) {
    return Installation(plan, sources, files, backend, beforeCopy).Run();
}

std::wstring InstalledFolder(registry::Backend& backend) {
    std::wstring installed =
        registry::GetString(backend, registry::Root::LocalMachine, registry::kUninstallKey, kInstallLocationValue)
            .value_or(std::wstring());
    if (winkit::IsBlank(installed)) return std::wstring();
    if (!IsPathSeparator(installed.back())) installed += L'\\';
    return installed;
}

bool PointsInto(const std::wstring& text, const std::wstring& folder) {
    if (folder.empty() || text.size() < folder.size()) return false;
    for (std::size_t at = 0; at + folder.size() <= text.size(); ++at) {
        // At the start, after a quote or after a blank: not the end of another folder's name.
        if (at > 0 && text[at - 1] != L'"' && text[at - 1] != L' ') continue;
        std::size_t i = 0;
        while (i < folder.size() && std::towlower(static_cast<wint_t>(text[at + i])) ==
                                        std::towlower(static_cast<wint_t>(folder[i])))
            ++i;
        if (i == folder.size()) return true;
    }
    return false;
}

std::vector<std::wstring> RunValuesInto(registry::Backend& backend, const std::wstring& folder,
                                        const std::wstring& keep) {
    std::vector<std::wstring> found;
    for (registry::NamedText& value : registry::StringValues(backend, registry::Root::LocalMachine, registry::kRunKey))
        if (PointsInto(value.text, folder) && !PointsInto(value.text, keep)) found.push_back(std::move(value.name));
    return found;
}

std::vector<std::wstring> LaunchersToEnd(registry::Backend& backend, const std::wstring& setupProgramPath) {
    std::vector<std::wstring> paths;
    if (const std::wstring installed = InstalledFolder(backend); !installed.empty())
        paths.push_back(installed + kLauncherFile);
    const std::size_t separator = setupProgramPath.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return paths;
    std::wstring beside = setupProgramPath.substr(0, separator + 1) + kLauncherFile;
    if (paths.empty() || paths.front() != beside) paths.push_back(std::move(beside));
    return paths;
}

UninstallReport RunUninstall(registry::Backend& backend, RunningLaunchers& launchers,
                             const std::wstring& setupProgramPath) {
    using registry::Root;
    UninstallReport report;
    report.launchers = launchers.EndAll(LaunchersToEnd(backend, setupProgramPath));
    auto note = [&report](const wchar_t* key, const wchar_t* value, registry::Status status) {
        // Nothing to remove is no failure: Uninstall may run without an installation.
        if (status.code != winkit::kErrorFileNotFound) Record(report.failures, key, value, status);
    };
    // Whoever wrote it: once the folder is deleted, anybody could put a
    // program there that such a value starts for everyone.
    for (const std::wstring& into : RunValuesInto(backend, InstalledFolder(backend), L""))
        note(registry::kRunKey, into.c_str(), registry::DeleteValue(backend, Root::LocalMachine, registry::kRunKey, into));
    note(registry::kRunKey, registry::kRunValue,
         registry::DeleteValue(backend, Root::LocalMachine, registry::kRunKey, registry::kRunValue));
    if (const auto user = registry::DeleteValue(backend, Root::CurrentUser, registry::kRunKey, registry::kRunValue);
        !user.Ok() && user.code != winkit::kErrorFileNotFound)
        report.failures.push_back({registry::kRunKey, registry::kRunValue, user.code, Root::CurrentUser});
    for (const wchar_t* top : {registry::kUninstallKey, registry::kSettingsKey}) {
        // RegDeleteKeyEx refuses a key that has subkeys, with
        // ERROR_ACCESS_DENIED, and a tool or an administrator may have added
        // some: a key goes once it has none, from the top again after each.
        std::wstring key = top;
        for (std::wstring name;;) {
            registry::OpenedKey open = registry::KeyOf(backend);
            if (backend.OpenKey(Root::LocalMachine, key, false, open.Put()) == winkit::kErrorSuccess &&
                backend.EnumKey(open.Get(), 0, &name) == winkit::kErrorSuccess) {
                (key += L'\\') += name;
                continue;
            }
            const registry::Status status = registry::DeleteKey(backend, Root::LocalMachine, key);
            if (status.Ok() && key != top) {
                key = top;
                continue;
            }
            note(top, L"(whole key)", status);
            break;
        }
    }
    return report;
}

Explanation FailureText(const InstallPlan& plan, const InstallReport& report, const winkit::ReasonText& reason,
                        Language language) {
    if (!report.failure) return {};
    const StepFailure& f = *report.failure;
    const std::wstring undone = UndoSummary(report, reason, language);
    const std::wstring why = f.error != 0 ? reason(f.error) : std::wstring();
    const std::wstring& folder = plan.installFolder;
    auto explained = [language](TextId text, std::initializer_list<std::wstring_view> arguments, TextId advice) {
        return Explanation{FormatIn(language, text, arguments), TextIn(language, advice)};
    };
    switch (f.step) {
    case FailedStep::VolumeUnknown:
        return explained(TextId::VolumeUnknown, {f.path, why, undone}, TextId::RetryAdvice);
    case FailedStep::NoPermissions:
        return explained(TextId::NoPermissions, {f.path, undone}, TextId::NtfsAdvice);
    case FailedStep::FolderAboveIsLink:
        return explained(TextId::FolderAboveIsLink, {f.path, undone}, TextId::RetryAdvice);
    case FailedStep::FolderAboveUnsafe:
        return f.error != 0
                   ? explained(TextId::FolderAboveUnreadable, {f.path, why, folder, undone}, TextId::SafeFolderAdvice)
                   : explained(TextId::FolderAboveUnsafe, {f.path, folder, undone}, TextId::SafeFolderAdvice);
    case FailedStep::CreateFolder:
        return explained(TextId::CreateFolderFailed, {f.path, why, undone}, TextId::RetryAdvice);
    case FailedStep::OpenFolder:
        return explained(TextId::OpenFolderFailed, {f.path, why, undone}, TextId::RetryAdvice);
    case FailedStep::FolderIsLink:
        return explained(TextId::FolderIsLink, {folder, undone}, TextId::RetryAdvice);
    case FailedStep::FolderIsFile:
        return explained(TextId::FolderIsFile, {f.path, undone}, TextId::RetryAdvice);
    case FailedStep::FolderElsewhere:
        return {FormatIn(language, TextId::FolderElsewhere, {folder, f.source, undone}),
                FormatIn(language, TextId::FolderElsewhereAdvice, {f.source})};
    case FailedStep::FolderUnsafe:
        return f.error != 0 ? explained(TextId::FolderUnreadable, {folder, why, undone}, TextId::NewFolderAdvice)
                            : explained(TextId::FolderUnsafe, {folder, undone}, TextId::NewFolderAdvice);
    case FailedStep::SourceMissing:
        return explained(TextId::SourceMissing, {f.source, why, undone}, TextId::SourceMissingAdvice);
    case FailedStep::SourceChanged:
        return explained(TextId::SourceChanged, {f.source, undone}, TextId::SourceChangedAdvice);
    case FailedStep::CopyFile:
        if (InUse(f.error)) return explained(TextId::FileInUse, {f.path, why, undone}, TextId::FileInUseAdvice);
        return explained(TextId::CopyFailed, {f.source, f.path, why, undone}, TextId::RetryAdvice);
    case FailedStep::Registry:
        break;
    }
    return explained(
        TextId::RegistryRefused,
        {RegistryList(report.registryFailures, reason), TextIn(language, TextId::AdministratorAdvice), undone},
        TextId::AdministratorInstallAdvice);
}

std::wstring FinishedText(const InstallPlan& plan) {
    std::wstring text = Format(TextId::Finished, {plan.installFolder});
    if (!plan.movedFrom.empty()) text += L"\n\n" + MovedText(plan, CurrentLanguage());
    return text;
}

std::wstring MovedText(const InstallPlan& plan, Language language) {
    if (plan.movedFrom.empty()) return std::wstring();
    return FormatIn(language, TextId::Moved, {plan.movedFrom});
}

std::wstring MoveQuestion(const std::wstring& installed, const std::wstring& target) {
    return Format(TextId::MoveQuestion, {installed, target});
}

std::wstring StartFailureText(const StartCommand& start, long error, const winkit::ReasonText& reason) {
    return Format(TextId::NotStarted, {start.programPath, reason(error)});
}

std::wstring LaunchersEndedText(const RunningLaunchers::Ended& launchers, Language language) {
    if (launchers.stillRunning > 0) return TextIn(language, TextId::LauncherStillRunning);
    if (launchers.ended > 0) return TextIn(language, TextId::LauncherEnded);
    return L"";
}

std::wstring UninstallFailureText(const UninstallReport& report, const winkit::ReasonText& reason, Language language) {
    const std::wstring list = RegistryList(report.failures, reason);
    // Administrator rights help only where they were lacking; any other
    // refusal is named by the system's message for its code.
    for (const RegistryFailure& f : report.failures)
        if (f.error == winkit::kErrorAccessDenied)
            return FormatIn(language, TextId::UninstallRefusedDenied,
                            {list, TextIn(language, TextId::AdministratorAdvice)});
    return FormatIn(language, TextId::UninstallRefused, {list});
}

}  // namespace setup
