// The held install folder's writes with the real file functions: a file
// written over is a new file in the old one's place (so that it gets the
// folder's inherited permissions, not the old file's), with nothing left
// beside it; its earlier content comes back for an undo.
#include <windows.h>

#include "MiniTest.h"

#include <memory>
#include <string>

#include "Win32Files.h"

namespace {

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, buffer);
    return buffer;
}

BY_HANDLE_FILE_INFORMATION IdentityOf(const std::wstring& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    const winkit::UniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, 7, nullptr, OPEN_EXISTING, 0, nullptr));
    GetFileInformationByHandle(file.Get(), &info);
    return info;
}

std::string Content(const std::wstring& path) {
    const winkit::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, 7, nullptr, OPEN_EXISTING, 0, nullptr));
    char buffer[64] = {};
    DWORD read = 0;
    ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr);
    return std::string(buffer, read);
}

int Entries(const std::wstring& folder) {
    WIN32_FIND_DATAW data{};
    const winkit::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    int count = 0;
    if (find)
        do count += data.cFileName[0] != L'.';
        while (FindNextFileW(find.Get(), &data));
    return count;
}

}  // namespace

TEST(HeldFolder, AFileWrittenOverIsANewFileInTheOldOnesPlace) {
    const std::wstring folder = TempFolder() + L"tolvane-held-folder";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\Tolvane.exe";
    DeleteFileW(path.c_str());
    const setup::OwnProgram own = setup::OpenOwnProgram();
    setup::Win32Files files(own);
    std::unique_ptr<setup::HeldFolder> held;
    ASSERT_TRUE(files.OpenFolder(folder, false, &held).Ok());
    std::optional<setup::Bytes> previous;
    EXPECT_TRUE(held->Write(L"Tolvane.exe", setup::Bytes{'o', 'l', 'd', '!'}, &previous).Ok());
    EXPECT_TRUE(!previous) << "nothing there before";
    held.reset();
    const BY_HANDLE_FILE_INFORMATION before = IdentityOf(path);

    ASSERT_TRUE(files.OpenFolder(folder, false, &held).Ok());
    EXPECT_TRUE(held->Write(L"Tolvane.exe", setup::Bytes{'n', 'e', 'w'}, &previous).Ok());
    EXPECT_TRUE(previous && *previous == (setup::Bytes{'o', 'l', 'd', '!'}));
    const BY_HANDLE_FILE_INFORMATION after = IdentityOf(path);
    EXPECT_TRUE(after.nFileIndexLow != before.nFileIndexLow || after.nFileIndexHigh != before.nFileIndexHigh)
        << "written into the old file, whose permissions it keeps";
    EXPECT_TRUE(Entries(folder) == 1) << "the new file's first name is left";
    held.reset();
    EXPECT_TRUE(Content(path) == "new");

    ASSERT_TRUE(files.OpenFolder(folder, false, &held).Ok());
    EXPECT_TRUE(held->Write(L"Tolvane.exe", setup::Bytes{'x'}, &previous).Ok());
    EXPECT_TRUE(held->Restore(L"Tolvane.exe", previous).Ok());
    held.reset();
    EXPECT_TRUE(Content(path) == "new") << "undone";
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());
}
