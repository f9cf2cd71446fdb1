// What Windows reads from the shipped executables without running them: the version
// in their properties, their manifests, and Quenlo.exe's icon as Explorer, the taskbar
// and Alt+Tab find it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "main_window/icon/icon_picture.h"

namespace {

struct Shipped {
    const char* path;
    const char* fileName;
};

const Shipped kExecutables[] = {{QUENLO_EXE, "Quenlo.exe"}, {QUENLO_SPLIT_EXE, "quenlo-split.exe"}};

std::string VersionString(const std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
        return "(missing)";
    }
    return std::string(value, length > 0 ? length - 1 : 0);
}

TEST(ReleaseResources, BothExecutablesCarryTheProjectVersion) {
    const DWORD major = QUENLO_VERSION_MAJOR, minor = QUENLO_VERSION_MINOR,
                patch = QUENLO_VERSION_PATCH;
    for (const Shipped& exe : kExecutables) {
        SCOPED_TRACE(exe.path);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(exe.path, &ignored);
        ASSERT_GT(size, 0u) << "no version resource";
        std::vector<char> info(size);
        ASSERT_TRUE(GetFileVersionInfoA(exe.path, 0, size, info.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(fixed->dwFileVersionMS, major << 16 | minor);
        EXPECT_EQ(fixed->dwFileVersionLS, patch << 16);
        EXPECT_EQ(fixed->dwProductVersionMS, major << 16 | minor);
        EXPECT_EQ(VersionString(info, "FileVersion"), QUENLO_VERSION);
        EXPECT_EQ(VersionString(info, "ProductVersion"), QUENLO_VERSION);
        EXPECT_EQ(VersionString(info, "OriginalFilename"), exe.fileName);
    }
}

// A manifest's setting as the system's loader reads it (an activation context made
// from the resource), so a misspelt namespace counts as missing.
std::wstring ManifestSetting(HANDLE context, const wchar_t* year, const wchar_t* name) {
    const std::wstring space = std::wstring(L"http://schemas.microsoft.com/SMI/") + year;
    wchar_t value[128] = {};
    SIZE_T written = 0;
    return QueryActCtxSettingsW(0, context, (space + L"/WindowsSettings").c_str(), name, value,
                                std::size(value), &written)
               ? value
               : L"(missing)";
}

TEST(ReleaseResources, BothManifestsAskForTheUsersRightsLongPathsAndUtf8) {
    for (const Shipped& exe : kExecutables) {
        SCOPED_TRACE(exe.path);
        ACTCTXA request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = exe.path;
        request.lpResourceName = MAKEINTRESOURCEA(1);
        const HANDLE context = CreateActCtxA(&request);
        ASSERT_NE(context, INVALID_HANDLE_VALUE) << GetLastError();
        ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
        QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level,
                     sizeof level, nullptr);
        EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);  // no VirtualStore
        EXPECT_EQ(ManifestSetting(context, L"2016", L"longPathAware"), L"true");
        EXPECT_EQ(ManifestSetting(context, L"2019", L"activeCodePage"), L"UTF-8");
        if (exe.path == std::string_view(QUENLO_EXE)) {
            EXPECT_EQ(ManifestSetting(context, L"2005", L"dpiAware"), L"true/pm");
            EXPECT_EQ(ManifestSetting(context, L"2016", L"dpiAwareness"),
                      L"PerMonitorV2, PerMonitor");
        }
        ReleaseActCtx(context);
    }
}

// The icon's pixels as 0xAARRGGBB, top row first.
std::vector<std::uint32_t> IconPixels(HICON icon, int size) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) {
        return {};
    }
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = size;
    format.bmiHeader.biHeight = -size;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size * size));
    const HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(size), pixels.data(),
                               &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return rows == size ? pixels : std::vector<std::uint32_t>{};
}

TEST(ReleaseResources, QuenloIconIsTheWindowsPictureAtEverySize) {
    const HMODULE module = LoadLibraryExA(
        QUENLO_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    for (int size : {16, 24, 32, 48, 64, 256}) {
        SCOPED_TRACE(size);
        const HICON icon = static_cast<HICON>(
            LoadImageA(module, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr);
        const std::vector<std::uint32_t> got = IconPixels(icon, size);
        DestroyIcon(icon);
        const std::vector<std::uint32_t> want = quenlo::QuenloIconPixels(size);
        ASSERT_EQ(got.size(), want.size());
        int wrong = 0;
        for (std::size_t i = 0; i < want.size(); ++i) {
            // Clear pixels may keep any colour; what shows must be exact.
            const bool clear = (want[i] >> 24) == 0;
            wrong += clear ? (got[i] >> 24) != 0 : got[i] != want[i];
        }
        EXPECT_EQ(wrong, 0);
    }
    FreeLibrary(module);
}

TEST(ReleaseResources, ShellExtractsQuenlosIcon) {
    HICON large = nullptr, small = nullptr;
    EXPECT_EQ(ExtractIconExA(QUENLO_EXE, -1, nullptr, nullptr, 0), 1u) << "icon groups";
    ASSERT_GE(ExtractIconExA(QUENLO_EXE, 0, &large, &small, 1), 1u);
    ASSERT_NE(large, nullptr);
    const int size = GetSystemMetrics(SM_CXICON);
    const std::vector<std::uint32_t> got = IconPixels(large, size);
    const std::vector<std::uint32_t> want = quenlo::QuenloIconPixels(size);
    EXPECT_EQ(got, want);
    DestroyIcon(large);
    if (small != nullptr) {
        DestroyIcon(small);
    }
}

}  // namespace
