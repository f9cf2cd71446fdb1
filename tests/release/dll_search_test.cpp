// How the programs find DLLs, in this test's own process: the DLL the build plants beside
// this executable is found by a bare name until RestrictDllSearchToSystem, and never by
// LoadSystemLibrary. The restriction holds for the rest of the process; the other tests
// here load files by their full paths only.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/system_library.h"

namespace quenlo {
namespace {

constexpr wchar_t kPlanted[] = L"planted_mark_dll.dll";

std::wstring FolderOf(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    const std::wstring file(path, GetModuleFileNameW(module, path, MAX_PATH));
    return file.substr(0, file.find_last_of(L'\\'));
}

TEST(DllSearch, SystemDllsComeFromTheSystemFolderAndNothingFromBesideTheProgram) {
    const std::wstring planted = FolderOf(nullptr) + L"\\" + kPlanted;
    const std::wstring mark = planted + L".loaded";
    HMODULE module = LoadLibraryW(kPlanted);
    ASSERT_NE(module, nullptr) << "the build puts planted_mark_dll.dll beside this test";
    FreeLibrary(module);
    DeleteFileW(mark.c_str());

    EXPECT_EQ(LoadSystemLibrary(kPlanted), nullptr);
    EXPECT_EQ(LoadSystemLibrary(planted.c_str()), nullptr) << "a path is no file name";
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    module = LoadSystemLibrary(L"comctl32.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(CompareStringOrdinal(FolderOf(module).c_str(), -1, system, -1, TRUE), CSTR_EQUAL);
    FreeLibrary(module);

    RestrictDllSearchToSystem();
    module = LoadLibraryW(kPlanted);
    EXPECT_EQ(module, nullptr) << "a bare name still finds the DLL beside the program";
    if (module != nullptr) {
        FreeLibrary(module);
    }
    DeleteFileW(mark.c_str());
}

}  // namespace
}  // namespace quenlo
