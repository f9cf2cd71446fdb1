// A person's mouse over the gallery: every kind of control the skin tracks lights
// when the cursor comes onto it and goes back when the cursor moves on, through the
// system's own mouse moves and leave notices.
#include <windows.h>

#include <gtest/gtest.h>

#include "demos/gallery/gallery_window.h"
#include "live_input.h"
#include "skin/registry/skin_state.h"
#include "skin/registry/window_props.h"

namespace quenlo::gallery {
namespace {

int Prop(HWND window, const char* name) {
    return static_cast<int>(skin::GetSkinProp<INT_PTR>(window, name));
}

// Hovered: a command button fades its hover picture in, the others show state 1, a
// header lights the item under the mouse.
bool ShowsHover(GalleryControl id, HWND window) {
    if (id == GalleryControl::Header) {
        return Prop(window, skin::kPropHotIndex) == 0;
    }
    return Prop(window, skin::kPropOldState) == skin::kStateHover;
}

bool ShowsRest(GalleryControl id, HWND window) {
    if (id == GalleryControl::Header) {
        return Prop(window, skin::kPropHotIndex) == -1;
    }
    return Prop(window, skin::kPropOldState) == skin::kStateNormal;
}

TEST(GalleryUnderTheMouse, EveryTrackedControlLightsUnderTheCursorAndGoesBackWhenItMovesOn) {
    HWND gallery = CreateGalleryWindow();
    ASSERT_NE(gallery, nullptr);
    skin::BringToFront(gallery);
    const POINT empty = skin::ScreenPoint(gallery, kGalleryClientWidth - 4, 4);
    skin::MoveMouseTo(empty);

    const GalleryControl sweep[] = {
        GalleryControl::ButtonNormal,      GalleryControl::VbCommandButton,
        GalleryControl::CheckUnchecked,    GalleryControl::OptionUnchecked,
        GalleryControl::ComboDropDownList, GalleryControl::DriveList,
        GalleryControl::Header,
    };
    for (GalleryControl id : sweep) {
        SCOPED_TRACE(std::string(GalleryControlName(id)));
        HWND window = GalleryControlWindow(gallery, id);
        ASSERT_NE(window, nullptr);
        // Onto the control (a header: onto its first item), then on to an empty spot.
        RECT box{};
        GetWindowRect(window, &box);
        const POINT onto = id == GalleryControl::Header
                               ? POINT{box.left + 5, (box.top + box.bottom) / 2}
                               : skin::CentreOf(window);
        skin::MoveMouseTo(onto);
        EXPECT_EQ(Prop(window, skin::kPropMouseFlag), 1);
        EXPECT_TRUE(ShowsHover(id, window));

        skin::MoveMouseTo(empty);
        EXPECT_TRUE(skin::PumpUntil([&] { return Prop(window, skin::kPropMouseFlag) == 0; }));
        EXPECT_TRUE(ShowsRest(id, window));
    }

    SendMessageA(gallery, WM_CLOSE, 0, 0);
    skin::PumpWithoutTimers();
    EXPECT_EQ(skin::SkinnedWindowCount, 0);
}

}  // namespace
}  // namespace quenlo::gallery
