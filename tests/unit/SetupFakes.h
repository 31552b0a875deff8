#pragma once
// What Setup's tests stand in for Windows with. Drives in memory that behave
// as Setup relies on Windows to: folders and
// files as nodes reached through their names, links that lead elsewhere (some
// of them, like a Unix link under an emulator, not shown as links), handles
// that keep reaching their node whatever happens to its name, and names that
// cannot be moved while a handle holds them without FILE_SHARE_DELETE.
#include <cwctype>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Install.h"
#include "Restart.h"
#include "Uninstall.h"
#include "SecurityDescriptor.h"
#include "Sha256.h"

namespace testing_support {

inline std::wstring Lower(std::wstring text) {
    for (auto& ch : text) ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    return text;
}

inline setup::Bytes BytesOf(const std::string& text) { return setup::Bytes(text.begin(), text.end()); }

// The system's text for an error, as the tests see it.
inline std::wstring Reason(long error) { return L"<reason " + std::to_wstring(error) + L">"; }

inline bool Contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

// A Setup beside the launcher "launcher" and the guide "readme" it was built with.
inline const setup::Sources kSources{L"C:\\Downloads\\Setup.exe", setup::Sha256Hex(BytesOf("launcher").data(), 8),
                                     setup::Sha256Hex(BytesOf("readme").data(), 6),
                                     setup::Sha256Hex(BytesOf("liesmich").data(), 8)};

struct FakeLaunchers final : setup::RunningLaunchers {
    Ended answer;
    int asked = 0;
    std::vector<std::wstring> programs;
    Ended EndAll(const std::vector<std::wstring>& given) override {
        programs = given;
        return ++asked, answer;
    }
};

// rstrtmgr.dll as Windows answers Setup's calls: a session first, files
// before a list or a shutdown (ERROR_INVALID_HANDLE, ERROR_INVALID_PARAMETER),
// RmRestart only after RmShutdown (ERROR_REQUEST_OUT_OF_SEQUENCE); each
// call's own answer set by the test. Wine's answers success and lists nothing.
struct FakeRestartManager final : setup::RestartManager {
    long startError = 0;
    long registerError = 0;
    long usersError = 0;
    long shutdownError = 0;
    long restartError = 0;
    unsigned users = 0;
    bool inThisSession = false;
    std::vector<std::wstring> calls;
    std::vector<std::wstring> registered;
    bool started = false;
    bool shut = false;

    long Start() override {
        calls.push_back(L"start");
        started = startError == 0;
        return startError;
    }
    long Register(const std::vector<std::wstring>& files) override {
        calls.push_back(L"register");
        if (!started) return winkit::kErrorInvalidHandle;
        if (registerError == 0) registered = files;
        return registerError;
    }
    long Users(unsigned* count, bool* here) override {
        calls.push_back(L"users");
        if (!started) return winkit::kErrorInvalidHandle;
        if (usersError != 0) return usersError;
        *count = users;
        *here = inThisSession;
        return 0;
    }
    long Shutdown() override {
        calls.push_back(L"shutdown");
        if (!started) return winkit::kErrorInvalidHandle;
        if (registered.empty()) return winkit::kErrorInvalidParameter;
        shut = shutdownError == 0 || shutdownError == setup::kErrorFailShutdown;
        return shutdownError;
    }
    long Restart() override {
        calls.push_back(L"restart");
        if (!shut) return 776;  // ERROR_REQUEST_OUT_OF_SEQUENCE
        return restartError;
    }
};

// Owned by a user, who may do everything: what Windows reports for a folder
// a user made, and what an emulator reports for every folder.
inline const std::wstring kUsersOwn = L"O:S-1-5-21-1-2-3-1001D:(A;OICI;FA;;;S-1-5-21-1-2-3-1001)(A;OICI;FA;;;SY)";
// A drive's root as Windows sets it up: users may add folders, and change
// only what they add.
inline const std::wstring kWindowsRoot =
    L"O:S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)"
    L"(A;OICI;0x1200a9;;;BU)(A;OICIIO;0x1301bf;;;AU)(A;;0x4;;;AU)";

class FakeDisk final : public setup::FileService {
public:
    struct Node {
        std::wstring name;  // as created; "C:" for a root
        int parent = -1;
        bool folder = true;
        std::map<std::wstring, int> children;  // lower-case name -> node
        setup::Bytes content;
        std::wstring sddl = setup::ToSddl(setup::ProtectedFolder());  // "": cannot be read
        std::wstring linkTo;   // a link: the full path it leads to
        bool shown = true;     // a link Windows reports as a reparse point
        bool refusesNew = false;
        int held = 0;          // handles without FILE_SHARE_DELETE
        long writeError = 0;   // a write onto this file fails so
    };

    std::vector<Node> nodes;
    std::map<std::wstring, std::wstring> shortNames;  // lower-case short path -> long path
    std::map<wchar_t, setup::DriveKind> drives;        // absent: fixed
    std::set<wchar_t> withoutPermissions;              // FAT32, exFAT
    long volumeError = 0;
    std::wstring windowsRoot = L"C:\\";
    std::set<std::wstring> huge;                       // lower-case paths larger than Setup reads
    long readError = 0;                                // reading any source fails so
    setup::Bytes ownProgram = BytesOf("installer");
    long ownProgramError = 0;
    std::function<void(FakeDisk&)> beforeFirstRead;    // between the checks and the copies
    std::vector<std::wstring> calls;

    FakeDisk() {
        Folder(L"C:", kWindowsRoot);
        Folder(L"D:", kWindowsRoot);
        Folder(L"C:\\Downloads", kUsersOwn);
        File(L"C:\\Downloads\\Tolvane.exe", "launcher");
        File(L"C:\\Downloads\\Readme.txt", "readme");
        File(L"C:\\Downloads\\Liesmich.txt", "liesmich");
        File(L"C:\\Downloads\\Setup.exe", "installer");
    }

    // Arranging.
    Node& Folder(const std::wstring& path, const std::wstring& sddl = setup::ToSddl(setup::ProtectedFolder())) {
        Node& node = nodes[Add(path, true)];
        node.sddl = sddl;
        return node;
    }
    Node& File(const std::wstring& path, const std::string& content) {
        Node& node = nodes[Add(path, false)];
        node.content = BytesOf(content);
        return node;
    }
    Node& Link(const std::wstring& path, const std::wstring& target, bool shown = true) {
        Node& node = nodes[Add(path, true)];
        node.linkTo = target;
        node.shown = shown;
        return node;
    }
    Node& At(const std::wstring& path) {
        long error = 0;
        return nodes.at(static_cast<std::size_t>(Resolve(path, true, &error)));
    }
    void Delete(const std::wstring& path) {
        long error = 0;
        Detach(Resolve(path, true, &error));
    }
    bool Exists(const std::wstring& path) {
        long error = 0;
        return Resolve(path, true, &error) >= 0;
    }
    std::string Content(const std::wstring& path) {
        const Node& node = At(path);
        return std::string(node.content.begin(), node.content.end());
    }
    // MoveFileW of a folder: refused while a handle holds it without FILE_SHARE_DELETE.
    long Rename(const std::wstring& from, const std::wstring& to) {
        long error = 0;
        const int id = Resolve(from, false, &error);
        if (id < 0) return error;
        if (nodes[id].held > 0) return winkit::kErrorSharingViolation;
        Detach(id);
        const int parent = Resolve(ParentOf(to), true, &error);
        nodes[id].name = NameOf(to);
        nodes[id].parent = parent;
        nodes[parent].children[Lower(nodes[id].name)] = id;
        return 0;
    }
    // Every folder and file reachable, with content and permissions: equal
    // before and after a failed installation when it left nothing behind.
    std::vector<std::wstring> Snapshot() {
        std::vector<std::wstring> lines;
        for (std::size_t id = 0; id < nodes.size(); ++id) {
            int top = static_cast<int>(id);
            while (nodes[top].parent >= 0) top = nodes[top].parent;
            if (nodes[top].name.size() != 2) continue;  // removed
            lines.push_back(PathOf(static_cast<int>(id)) + L"|" + nodes[id].sddl + L"|" + nodes[id].linkTo + L"|" +
                            std::wstring(nodes[id].content.begin(), nodes[id].content.end()));
        }
        return lines;
    }

    // The file service.
    std::wstring FullPath(const std::wstring& path) override { return path; }
    std::wstring LongPath(const std::wstring& fullPath) override {
        for (const auto& [shortPath, longPath] : shortNames)
            if (Lower(fullPath).rfind(shortPath, 0) == 0) return longPath + fullPath.substr(shortPath.size());
        return fullPath;
    }
    setup::DriveKind KindOfDrive(const std::wstring& fullPath) override {
        const auto kind = drives.find(static_cast<wchar_t>(std::towupper(fullPath[0])));
        return kind == drives.end() ? setup::DriveKind::Fixed : kind->second;
    }
    winkit::Win32Result KeepsPermissions(const std::wstring& root, bool* keeps) override {
        if (volumeError != 0) return {volumeError, L"volume"};
        *keeps = withoutPermissions.count(static_cast<wchar_t>(std::towupper(root[0]))) == 0;
        return {};
    }
    std::wstring WindowsDriveRoot() override { return windowsRoot; }
    bool SamePath(const std::wstring& a, const std::wstring& b) override { return Lower(a) == Lower(b); }
    winkit::Win32Result Inspect(const std::wstring& folder, setup::FolderFacts* facts) override {
        calls.push_back(L"inspect " + folder);
        long error = 0;
        const int id = Resolve(folder, false, &error);
        if (id < 0) return {error, L"inspect"};
        facts->link = !nodes[id].linkTo.empty();
        facts->sddl = nodes[id].sddl;
        facts->security = nodes[id].sddl.empty() ? winkit::Win32Result{winkit::kErrorAccessDenied, L"read"}
                                                 : winkit::Win32Result{};
        return {};
    }
    winkit::Win32Result CreateFolder(const std::wstring& path, const std::wstring& sddl) override {
        calls.push_back(L"create " + path);
        long error = 0;
        const int parent = Resolve(ParentOf(path), true, &error);
        if (parent < 0) return {winkit::kErrorPathNotFound, L"create"};
        if (nodes[parent].children.count(Lower(NameOf(path))) != 0) return {winkit::kErrorAlreadyExists, L"create"};
        if (nodes[parent].refusesNew) return {winkit::kErrorAccessDenied, L"create"};
        nodes[AddIn(parent, NameOf(path), true)].sddl = sddl;
        return {};
    }
    winkit::Win32Result OpenFolder(const std::wstring& path, bool removable,
                                   std::unique_ptr<setup::HeldFolder>* folder) override;
    winkit::Win32Result ReadSource(const std::wstring& path, setup::Bytes* bytes, bool* tooLarge) override {
        if (beforeFirstRead) std::exchange(beforeFirstRead, nullptr)(*this);
        calls.push_back(L"read " + path);
        if (readError != 0) return {readError, L"read"};
        long error = 0;
        const int id = Resolve(path, true, &error);
        if (id < 0) return {error, L"read"};
        *tooLarge = huge.count(Lower(path)) != 0;
        *bytes = nodes[id].content;
        return {};
    }
    winkit::Win32Result ReadOwnProgram(setup::Bytes* bytes) override {
        if (ownProgramError != 0) return {ownProgramError, L"read"};
        *bytes = ownProgram;
        return {};
    }

    static std::wstring ParentOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }
    static std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

    std::wstring PathOf(int id) const {
        if (nodes[id].parent < 0) return nodes[id].name + L"\\";
        const std::wstring above = PathOf(nodes[id].parent);
        return (above.back() == L'\\' ? above : above + L"\\") + nodes[id].name;
    }
    // The node a path reaches, following links on the way (and at its end
    // when asked to, or when the link is not shown as one); -1 and the error
    // Windows gives when it reaches none.
    int Resolve(const std::wstring& path, bool followLast, long* error) {
        std::vector<std::wstring> parts(1);
        for (wchar_t c : path) {
            if (c == L'\\')
                parts.emplace_back();
            else
                parts.back() += c;
        }
        if (!parts.empty() && parts.back().empty()) parts.pop_back();
        int id = -1;
        for (std::size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i].parent < 0 && Lower(nodes[i].name) == Lower(parts[0])) id = static_cast<int>(i);
        for (std::size_t i = 1; i < parts.size() && id >= 0; ++i) {
            id = Follow(id, error);
            if (id < 0) return id;
            const auto child = nodes[id].children.find(Lower(parts[i]));
            if (child == nodes[id].children.end()) {
                *error = i + 1 == parts.size() ? winkit::kErrorFileNotFound : winkit::kErrorPathNotFound;
                return -1;
            }
            id = child->second;
        }
        if (id < 0) *error = winkit::kErrorPathNotFound;
        return id >= 0 && (followLast || !nodes[id].shown) ? Follow(id, error) : id;
    }
    void Detach(int id) {
        if (nodes[id].parent >= 0) nodes[nodes[id].parent].children.erase(Lower(nodes[id].name));
        nodes[id].parent = -1;
    }

private:
    int Follow(int id, long* error) { return nodes[id].linkTo.empty() ? id : Resolve(nodes[id].linkTo, true, error); }
    int AddIn(int parent, const std::wstring& name, bool folder) {
        Node node;
        node.name = name;
        node.parent = parent;
        node.folder = folder;
        nodes.push_back(node);
        const int id = static_cast<int>(nodes.size() - 1);
        if (parent >= 0) nodes[parent].children[Lower(name)] = id;
        return id;
    }
    int Add(const std::wstring& path, bool folder) {
        if (path.size() == 2) return AddIn(-1, path, folder);
        long error = 0;
        return AddIn(Resolve(ParentOf(path), true, &error), NameOf(path), folder);
    }
};

// A folder handle: it keeps reaching its node, and holds its name in place.
class FakeHeldFolder final : public setup::HeldFolder {
public:
    FakeHeldFolder(FakeDisk& disk, int id, bool removable) : m_disk(disk), m_id(id), m_removable(removable) {
        ++Node().held;
    }
    ~FakeHeldFolder() override { --Node().held; }
    bool IsFolder() override { return Node().folder; }
    bool IsLink() override { return !Node().linkTo.empty(); }
    winkit::Win32Result FinalPath(std::wstring* path) override {
        *path = L"\\\\?\\" + m_disk.PathOf(m_id);
        return {};
    }
    winkit::Win32Result ReadSecurity(std::wstring* sddl) override {
        *sddl = Node().sddl;
        return sddl->empty() ? winkit::Win32Result{winkit::kErrorAccessDenied, L"read"} : winkit::Win32Result{};
    }
    bool Is(const std::wstring& folderPath) override {
        long error = 0;
        return m_disk.Resolve(folderPath, true, &error) == m_id;
    }
    winkit::Win32Result Write(const std::wstring& name, const setup::Bytes& bytes,
                              std::optional<setup::Bytes>* previous) override {
        m_disk.calls.push_back(L"write " + name);
        const auto child = Node().children.find(Lower(name));
        previous->reset();
        if (child != Node().children.end()) {
            FakeDisk::Node& file = m_disk.nodes[child->second];
            if (file.folder) return {winkit::kErrorAccessDenied, L"write"};
            if (file.writeError != 0) return {file.writeError, L"write"};
            *previous = file.content;
            file.content = bytes;
            return {};
        }
        m_disk.File(m_disk.PathOf(m_id) + L"\\" + name, "").content = bytes;
        return {};
    }
    winkit::Win32Result Restore(const std::wstring& name, const std::optional<setup::Bytes>& previous) override {
        const auto child = Node().children.find(Lower(name));
        if (child == Node().children.end()) return {winkit::kErrorInvalidHandle, L"restore"};
        if (previous)
            m_disk.nodes[child->second].content = *previous;
        else
            m_disk.Detach(child->second);
        return {};
    }
    winkit::Win32Result Remove() override {
        if (!m_removable) return {winkit::kErrorAccessDenied, L"remove"};
        if (!Node().children.empty()) return {145, L"remove"};  // ERROR_DIR_NOT_EMPTY
        m_disk.Detach(m_id);
        return {};
    }

private:
    FakeDisk::Node& Node() { return m_disk.nodes[m_id]; }
    FakeDisk& m_disk;
    int m_id;
    bool m_removable;
};

inline winkit::Win32Result FakeDisk::OpenFolder(const std::wstring& path, bool removable,
                                                std::unique_ptr<setup::HeldFolder>* folder) {
    calls.push_back(L"open " + path);
    long error = 0;
    const int id = Resolve(path, false, &error);
    if (id < 0) return {error, L"open"};
    *folder = std::make_unique<FakeHeldFolder>(*this, id, removable);
    return {};
}

}  // namespace testing_support
