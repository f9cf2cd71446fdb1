#include "painter_sheet.h"

#include <commctrl.h>

#include <functional>

#include "skin/registry/window_props.h"
#include "skin/images/skin_blit.h"
#include "skin/painting/button_painter.h"
#include "skin/painting/check_painters.h"
#include "skin/painting/combo_painter.h"
#include "skin/painting/header_painter.h"
#include "test_windows.h"

namespace quenlo::skin {
namespace {

constexpr int kCellWidth = 170;
constexpr int kCellHeight = 34;
constexpr int kColumns = 4;  // normal, hover, pressed, disabled
constexpr COLORREF kSheetBackground = RGB(240, 240, 240);

using Painter = std::function<void(HWND control, int state)>;

struct Row {
    const char* className;
    const char* text;
    DWORD style;
    int width;
    int height;
    std::function<void(HWND)> prepare;
    Painter paint;
};

void PaintButtonCell(HWND button, int state) {
    RECT rect{};
    GetWindowRect(button, &rect);
    UniqueMemoryBitmap states[4];
    for (int s = 0; s < 4; ++s) {
        states[s].reset(CreateMemoryBitmap(rect.right - rect.left, rect.bottom - rect.top));
        SetSkinProp(button, StateDcProp(s), states[s].get());
    }
    SetSkinProp(button, kPropOldStyle, BS_PUSHBUTTON);
    SetSkinProp(button, kPropOldState, state);
    SetSkinProp(button, kPropAlphaLevel, 255);
    DrawControlText(button);
    PaintButton(button, nullptr);
}

void PaintHeaderCell(HWND header, int state) {
    for (const char* text : {"Name", "Size", "Date"}) {
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.cxy = 56;
        item.fmt = HDF_STRING;
        item.pszText = const_cast<char*>(text);
        SendMessageA(header, HDM_INSERTITEMA, 3, reinterpret_cast<LPARAM>(&item));
    }
    SetSkinProp(header, kPropHotIndex, state == 1 ? 1 : -1);
    SetSkinProp(header, kPropPressedIndex, state == 2 ? 1 : -1);
    HDC dc = GetWindowDC(header);
    DrawWholeHeader(header, dc);
    ReleaseDC(header, dc);
}

std::vector<Row> Rows() {
    auto font = [](HWND control) {
        SendMessageA(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    };
    auto check = [font](LRESULT mark) {
        return [font, mark](HWND control) {
            font(control);
            SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(mark), 0);
        };
    };
    auto combo = [font](HWND control) {
        font(control);
        SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Item one"));
        SendMessageA(control, CB_SETCURSEL, 0, 0);
    };
    return {
        {"Button", "Start", BS_OWNERDRAW, 90, 25, font, PaintButtonCell},
        {"Button", "Start && stop", BS_OWNERDRAW, 60, 25, font, PaintButtonCell},
        {"Button", "Check", BS_AUTOCHECKBOX, 120, 17, check(BST_UNCHECKED),
         [](HWND c, int s) { PaintCheckBox(c, s, true); }},
        {"Button", "Check", BS_AUTOCHECKBOX, 120, 17, check(BST_CHECKED),
         [](HWND c, int s) { PaintCheckBox(c, s, true); }},
        {"Button", "Grey", BS_AUTO3STATE, 120, 17, check(BST_INDETERMINATE),
         [](HWND c, int s) { PaintCheckBox(c, s, true); }},
        {"Button", "Option", BS_AUTORADIOBUTTON, 120, 17, check(BST_UNCHECKED),
         [](HWND c, int s) { PaintOptionButton(c, s, true); }},
        {"Button", "Option", BS_AUTORADIOBUTTON, 120, 17, check(BST_CHECKED),
         [](HWND c, int s) { PaintOptionButton(c, s, true); }},
        {"ComboBox", "", CBS_DROPDOWNLIST, 150, 200, combo,
         [](HWND c, int s) { PaintComboBox(c, nullptr, s, true); }},
        {WC_HEADERA, "", HDS_BUTTONS, 168, 24, font, PaintHeaderCell},
    };
}

}  // namespace

Picture PaintPainterSheet() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const std::vector<Row> rows = Rows();
    Picture sheet{kColumns * kCellWidth, static_cast<int>(rows.size()) * kCellHeight, {}};
    sheet.pixels.assign(static_cast<size_t>(sheet.width * sheet.height), kSheetBackground);

    TestParent parent;
    SetWindowPos(parent.window(), HWND_TOP, 0, 0, 400, 300, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    for (size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        for (int column = 0; column < kColumns; ++column) {
            HWND control =
                parent.AddChild(row.className, row.text, row.style, 0, 8, 8, row.width, row.height);
            row.prepare(control);
            const bool disabled = column == 3;
            EnableWindow(control, !disabled);
            PumpMessages();  // the system paints first, as it does under the skin
            row.paint(control, disabled ? 0 : column);
            RECT rect{};
            GetWindowRect(control, &rect);
            HDC dc = GetWindowDC(control);
            Picture cell = ReadPicture(dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top);
            ReleaseDC(control, dc);
            DestroyWindow(control);
            for (int y = 0; y < cell.height && y + 5 < kCellHeight; ++y) {
                for (int x = 0; x < cell.width && x + 5 < kCellWidth; ++x) {
                    sheet.pixels[static_cast<size_t>((static_cast<int>(r) * kCellHeight + 5 + y) *
                                                         sheet.width +
                                                     column * kCellWidth + 5 + x)] =
                        cell.pixels[static_cast<size_t>(y * cell.width + x)];
                }
            }
        }
    }
    return sheet;
}

}  // namespace quenlo::skin
