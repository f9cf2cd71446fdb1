#include "demos/gallery/gallery_contents.h"

#include <commctrl.h>

#include <cctype>
#include <initializer_list>
#include <string>
#include <utility>

#include "demos/gallery/gallery_window.h"
#include "platform/ansi_text.h"

namespace quenlo::gallery {
namespace {

using enum GalleryControl;

constexpr const char* kCities[] = {"北京", "上海", "广州", "深圳", "杭州", "成都", "武汉", "南京"};

void AddComboItems(HWND combo, int selected) {
    for (const char* city : kCities) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToAnsi(city).c_str()));
    }
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void AddListItems(HWND list, std::initializer_list<const char*> items) {
    for (const char* item : items) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToAnsi(item).c_str()));
    }
}

// As Visual Basic's drive list shows them: "c: [LABEL]", the current drive selected.
void AddDrives(HWND driveList) {
    char drives[256] = {};
    const DWORD length = GetLogicalDriveStringsA(sizeof drives - 1, drives);
    if (length == 0 || length >= sizeof drives) {
        return;
    }
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    int selected = 0;
    for (const char* root = drives; *root; root += std::char_traits<char>::length(root) + 1) {
        std::string entry{static_cast<char>(std::tolower(static_cast<unsigned char>(root[0]))),
                          ':'};
        char label[MAX_PATH + 1] = {};
        // Only fixed drives are asked for their label: a network or removable drive
        // could keep the window from opening for seconds.
        if (GetDriveTypeA(root) == DRIVE_FIXED &&
            GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr, nullptr,
                                  0) &&
            label[0] != '\0') {
            entry += std::string(" [") + label + "]";
        }
        const auto index =
            SendMessageA(driveList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        if ((root[0] | 0x20) == (current[0] | 0x20)) {
            selected = static_cast<int>(index);
        }
    }
    SendMessageA(driveList, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void AddColumns(HWND listView, int dpi,
                std::initializer_list<std::pair<const char*, int>> columns) {
    int index = 0;
    for (const auto& [title, width] : columns) {
        std::string text = Utf8ToAnsi(title);
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = text.data();
        column.cx = MulDiv(width, dpi, 96);
        column.iSubItem = index;
        SendMessageA(listView, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&column));
        ++index;
    }
}

void AddRow(HWND listView, int row, std::initializer_list<const char*> cells) {
    int subItem = 0;
    for (const char* cell : cells) {
        std::string text = Utf8ToAnsi(cell);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = subItem;
        item.pszText = text.data();
        SendMessageA(listView, subItem == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA,
                     static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        ++subItem;
    }
}

void AddHeaderItems(HWND header, int dpi,
                    std::initializer_list<std::pair<const char*, int>> items) {
    int index = 0;
    for (const auto& [title, width] : items) {
        std::string text = Utf8ToAnsi(title);
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = text.data();
        item.cxy = MulDiv(width, dpi, 96);
        item.fmt = HDF_STRING | HDF_CENTER;
        SendMessageA(header, HDM_INSERTITEMA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        ++index;
    }
}

// The skin draws every bar against a full scale of 30000, so the range is set to
// match: a position then means the same to the system and to the skin.
void SetProgress(HWND bar, int position) {
    SendMessageA(bar, PBM_SETRANGE32, 0, kProgressFullScale);
    SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

}  // namespace

void FillGalleryContents(HWND gallery, int dpi) {
    const auto control = [gallery](GalleryControl id) { return GalleryControlWindow(gallery, id); };

    SendMessageA(control(CheckChecked), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(control(CheckGrey), BM_SETCHECK, BST_INDETERMINATE, 0);
    SendMessageA(control(CheckDisabled), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(control(OptionChecked), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(control(OptionDisabledChecked), BM_SETCHECK, BST_CHECKED, 0);

    AddComboItems(control(ComboSimple), 1);
    AddComboItems(control(ComboDropDown), 0);
    AddComboItems(control(ComboDropDownList), 2);
    AddComboItems(control(VbComboDisabled), 3);
    AddDrives(control(DriveList));

    const HWND listView = control(ListView);
    SendMessageA(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    AddColumns(listView, dpi, {{"文件", 150}, {"行数", 90}, {"大小", 110}});
    AddRow(listView, 0, {"1-2026-12-07.txt", "30000", "1.2 MB"});
    AddRow(listView, 1, {"2-2026-12-07.txt", "30000", "1.2 MB"});
    AddRow(listView, 2, {"3-2026-12-07.txt", "12345", "0.5 MB"});

    AddHeaderItems(control(Header), dpi, {{"名称", 150}, {"类型", 110}, {"修改日期", 128}});

    const HWND grid = control(Grid);
    SendMessageA(grid, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
                 LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    AddColumns(grid, dpi, {{"A", 120}, {"B", 120}, {"C", 120}});
    AddRow(grid, 0, {"1", "2", "3"});
    AddRow(grid, 1, {"4", "5", "6"});

    SetProgress(control(ProgressEmpty), 0);
    SetProgress(control(ProgressThird), kProgressFullScale / 3);
    SetProgress(control(ProgressHalfSmooth), kProgressFullScale / 2);
    SetProgress(control(ProgressFull), kProgressFullScale);
    SetProgress(control(ProgressVertical), kProgressFullScale * 2 / 3);
    SetProgress(control(ProgressVerticalSmooth), kProgressFullScale / 3);

    AddListItems(control(ListBox), {"列表框：第一项", "第二项", "第三项", "第四项"});
    SendMessageA(control(ListBox), LB_SETCURSEL, 1, 0);
    AddListItems(control(DataList), {"数据一", "数据二", "数据三", "数据四"});
    AddListItems(control(DbListDisabled), {"已禁用", "第二项", "第三项"});
}

}  // namespace quenlo::gallery
