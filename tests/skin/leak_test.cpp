#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "skin/registry/skin_state.h"
#include "skin/images/skin_blit.h"
#include "skin/images/skin_images.h"
#include "test_windows.h"

namespace quenlo::skin {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);

DWORD GdiObjectCount() {
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

// Creating a GDI object must show in the count, or the count tells nothing.
bool GdiCountIsReported() {
    DWORD before = GdiObjectCount();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    DWORD during = GdiObjectCount();
    DeleteObject(brush);
    return during == before + 1 && GdiObjectCount() == before;
}

// Where GetGuiResources reports nothing (Wine), leaks show in the handle table
// instead: freed slots are handed out again first, so a process that releases
// everything keeps reusing the same few slots, while every object left behind takes
// a slot for good and pushes new handles to ever higher slots. This gives the highest
// slot (the low word of the handle) among a batch of new objects.
int HighestFreshSlot() {
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 64; ++i) {
        brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    }
    int highest = 0;
    for (HBRUSH brush : brushes) {
        highest = std::max(highest, static_cast<int>(reinterpret_cast<UINT_PTR>(brush) & 0xFFFF));
        DeleteObject(brush);
    }
    return highest;
}

void RunEveryBlit(TestSurface& destination) {
    DrawSkinPiece(destination.dc(), 0, 0, 75, 23, ButtonImage, 0, 21, 7, 21, 3, 3, 3, 3);
    DrawSkinPiece(destination.dc(), 0, 0, 13, 13, OptionImage, 0, 13, 13, 13, 5, 5, 5, 5, kKey);
    DrawSkinPiece(destination.dc(), 0, 0, 18, 19, ComboButtonImage, 4, 0, 4, 18, 0, 0, 0, 0);
    TransparentBlit(destination.dc(), 2, 2, 9, 8, MarkImage, 0, 0, kKey);
    UniqueMemoryBitmap surface(CreateMemoryBitmap(30, 20));
}

TEST(SkinGdiObjects, ImagesAndThousandsOfBlitsLeaveNothingBehind) {
    TestSurface destination(80, 30, RGB(255, 255, 255));
    BuildSkinImages();  // the first use may set up lasting objects of the system's own
    RunEveryBlit(destination);
    DeleteSkinImages();

    const bool counted = GdiCountIsReported();
    const DWORD countBefore = GdiObjectCount();
    const int slotBefore = HighestFreshSlot();
    for (int round = 0; round < 10; ++round) {
        BuildSkinImages();
        for (int i = 0; i < 100; ++i) {
            RunEveryBlit(destination);
        }
        DeleteSkinImages();
    }
    if (counted) {
        EXPECT_EQ(GdiObjectCount(), countBefore);
    } else {
        // A single object lost per round of blits would leave 1000 slots taken.
        std::printf("GetGuiResources reports no GDI objects here; watching handle slots\n");
        EXPECT_LT(HighestFreshSlot(), slotBefore + 100);
    }
}

}  // namespace
}  // namespace quenlo::skin
