# Writes the SHA-256 of the built launcher and of the guide into a header that
# Setup compiles in, so that it installs only the files it was built with.
# cmake -DLAUNCHER=<Tolvane.exe> -DREADME=<Readme.txt> -DGERMAN_README=<Liesmich.txt> -DOUTPUT=<header>
#   -P ShippedFileHashes.cmake
file(SHA256 "${LAUNCHER}" launcher)
file(SHA256 "${README}" readme)
file(SHA256 "${GERMAN_README}" german_readme)
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT [[
#pragma once
// Generated when Setup is built, from the Tolvane.exe and Readme.txt built
// with it; not to be edited.
namespace setup {
inline constexpr wchar_t kLauncherSha256[] = L"@launcher@";
inline constexpr wchar_t kReadmeSha256[] = L"@readme@";
inline constexpr wchar_t kGermanReadmeSha256[] = L"@german_readme@";
}  // namespace setup
]] @ONLY)
