#include <gtest/gtest.h>

#include "skin/common/rounding.h"
#include "skin/registry/class_groups.h"
#include "skin/registry/window_props.h"
#include "skin/registry/window_queries.h"
#include "test_windows.h"

namespace quenlo::skin {
namespace {

TEST(ClassGroups, EveryListedNameMapsToItsGroupWhateverItsCase) {
    const struct {
        const char* name;
        ClassGroup group;
    } cases[] = {
        {"#32770", ClassGroup::Container},
        {"ThunderFormDC", ClassGroup::Container},
        {"ThunderRT6FormDC", ClassGroup::Container},
        {"Form", ClassGroup::Container},
        {"ThunderCommandButton", ClassGroup::CommandButton},
        {"ThunderRT6CommandButton", ClassGroup::CommandButton},
        {"Button", ClassGroup::CommandButton},
        {"ThunderComboBox", ClassGroup::ComboBox},
        {"ThunderRT6ComboBox", ClassGroup::ComboBox},
        {"Combo", ClassGroup::ComboBox},
        {"ComboBox", ClassGroup::ComboBox},
        {"ThunderDriveListBox", ClassGroup::DriveList},
        {"ThunderRT6DriveListBox", ClassGroup::DriveList},
        {"ThunderCheckBox", ClassGroup::CheckBox},
        {"ThunderRT6CheckBox", ClassGroup::CheckBox},
        {"ThunderOptionButton", ClassGroup::OptionButton},
        {"ThunderRT6OptionButton", ClassGroup::OptionButton},
        {"msvb_lib_header", ClassGroup::Header},
        {"SysHeader32", ClassGroup::Header},
        {"ProgressBar20WndClass", ClassGroup::ProgressBar},
        {"ProgressBarWndClass", ClassGroup::ProgressBar},
        {"DataListWndClass", ClassGroup::DataList},
        {"DBListWndClass", ClassGroup::DataList},
        {"ComboLBox", ClassGroup::DropDownList},
        {"ApexGrid", ClassGroup::Grid},
        {"ApexGridOleDB32", ClassGroup::Grid},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassGroupOf(c.name), c.group) << c.name;
    }
}

TEST(ClassGroups, OnlyWholeNamesMatchAndTheRestIsOther) {
    EXPECT_EQ(ClassGroupOf("Buttons"), ClassGroup::Other);
    EXPECT_EQ(ClassGroupOf("MyButton"), ClassGroup::Other);
    EXPECT_EQ(ClassGroupOf("Edit"), ClassGroup::Other);
    EXPECT_EQ(ClassGroupOf("xApexGrid"), ClassGroup::Other);
    EXPECT_EQ(ClassGroupOf("apexgri"), ClassGroup::Other);
    EXPECT_EQ(ClassGroupOf(""), ClassGroup::Other);
}

TEST(WindowQueries, ButtonClassIsReadAndGrouped) {
    TestParent parent;
    HWND button = parent.AddChild("Button", "OK", BS_PUSHBUTTON, 0, 0, 0, 80, 24);
    EXPECT_EQ(GetWindowClass(button), "Button");
    EXPECT_EQ(ClassGroupOfWindow(button), ClassGroup::CommandButton);
    EXPECT_EQ(GetWindowCaption(button), "OK");
}

TEST(WindowQueries, DeadWindowHasEmptyClassAndCaption) {
    HWND dead;
    {
        TestParent parent;
        dead = parent.AddChild("Button", "gone", BS_PUSHBUTTON, 0, 0, 0, 10, 10);
    }
    EXPECT_EQ(GetWindowClass(dead), "");
    EXPECT_EQ(GetWindowCaption(dead), "");
    EXPECT_EQ(ClassGroupOfWindow(dead), ClassGroup::Other);
}

TEST(WindowQueries, BorderMetricsLeaveOutTheVerticalScrollBar) {
    TestParent parent;
    HWND plain = parent.AddChild(TestParent::kPlainClass, "", 0, WS_EX_CLIENTEDGE, 0, 0, 100, 60);
    HWND scrolled =
        parent.AddChild(TestParent::kPlainClass, "", WS_VSCROLL, WS_EX_CLIENTEDGE, 0, 0, 100, 60);
    int cx = -1;
    int cy = -1;
    EXPECT_EQ(GetBorderMetrics(plain, cx, cy), 1);
    EXPECT_EQ(cx, 2);
    EXPECT_EQ(cy, 2);
    cx = cy = -1;
    EXPECT_EQ(GetBorderMetrics(scrolled, cx, cy), 1);
    EXPECT_EQ(cx, 2);
    EXPECT_EQ(cy, 2);
}

TEST(WindowQueries, ExportProbeFindsUser32AndLeavesItLoaded) {
    EXPECT_TRUE(IsFunctionExported("TrackMouseEvent", "User32"));
    EXPECT_FALSE(IsFunctionExported("NoSuchFunctionAnywhere", "User32"));
    EXPECT_NE(GetModuleHandleA("User32"), nullptr);
    EXPECT_FALSE(IsFunctionExported("TrackMouseEvent", "no_such_module_here"));
}

TEST(WindowQueries, ExportProbeReleasesAModuleItLoaded) {
    const char* module = "avicap32";
    if (GetModuleHandleA(module) != nullptr) {
        GTEST_SKIP() << module << " is already loaded in this process";
    }
    EXPECT_TRUE(IsFunctionExported("capCreateCaptureWindowA", module));
    EXPECT_EQ(GetModuleHandleA(module), nullptr);
}

TEST(WindowProps, UnsetReadsZeroAndValuesRoundTripAtFullWidth) {
    TestParent parent;
    HWND window = parent.window();
    EXPECT_EQ(GetSkinProp(window, kPropOldState), 0);
    SetSkinProp(window, kPropHotIndex, -1);
    EXPECT_EQ(GetSkinProp<int>(window, kPropHotIndex), -1);
    EXPECT_EQ(GetSkinProp(window, kPropHotIndex), INT_PTR{-1});

    // A handle-sized value keeps its upper half in the 64-bit build.
    auto fakeDc = reinterpret_cast<HDC>(static_cast<INT_PTR>(-2) << (sizeof(INT_PTR) * 4));
    SetSkinProp(window, StateDcProp(2), fakeDc);
    EXPECT_EQ(GetSkinProp<HDC>(window, "HDC2"), fakeDc);

    // The previous window procedure is kept as a pointer, never cut through LONG.
    SetSkinProp(window, kPropProcAddr, &DefWindowProcA);
    EXPECT_EQ(GetSkinProp<WNDPROC>(window, kPropProcAddr), &DefWindowProcA);

    RemoveSkinProp(window, kPropProcAddr);
    RemoveSkinProp(window, kPropHotIndex);
    RemoveSkinProp(window, StateDcProp(2));
    EXPECT_EQ(GetSkinProp(window, kPropHotIndex), 0);
    EXPECT_EQ(GetSkinProp<HDC>(window, "HDC2"), nullptr);
    EXPECT_EQ(GetSkinProp<WNDPROC>(window, kPropProcAddr), nullptr);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(5.5), 6);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);
    EXPECT_EQ(RoundHalfEven(-3.7), -4);
    EXPECT_EQ(RoundHalfEven(50.0 / 3.0), 17);
}

}  // namespace
}  // namespace quenlo::skin
