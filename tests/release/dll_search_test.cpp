// The DLL the build plants beside this test is found by a bare name until
// RestrictDllSearchToSystem, never by LoadSystemLibrary. Later tests load by full paths.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/system_library.h"

namespace quenlo {
namespace {

TEST(DllSearch, NothingComesFromBesideTheProgramButByABareNameBeforeTheRestriction) {
    constexpr wchar_t kPlanted[] = L"planted_mark_dll.dll";
    wchar_t planted[MAX_PATH + 16] = {};
    HMODULE module = LoadLibraryW(kPlanted);
    ASSERT_NE(module, nullptr) << "the build puts planted_mark_dll.dll beside this test";
    GetModuleFileNameW(module, planted, MAX_PATH);
    FreeLibrary(module);

    EXPECT_EQ(LoadSystemLibrary(kPlanted), nullptr);
    EXPECT_EQ(LoadSystemLibrary(planted), nullptr) << "a path is no file name";
    RestrictDllSearchToSystem();
    module = LoadLibraryW(kPlanted);
    EXPECT_EQ(module, nullptr) << "a bare name still finds the DLL beside the program";
    FreeLibrary(module);
    DeleteFileW(lstrcatW(planted, L".loaded"));
}

}  // namespace
}  // namespace quenlo
