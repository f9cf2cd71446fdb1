#include "demos/gallery/gallery_layout.h"

#include <commctrl.h>

#include "controls/frame.h"
#include "demos/gallery/look_alike_classes.h"

namespace quenlo::gallery {
namespace {

using enum GalleryControl;

constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kOption = BS_AUTORADIOBUTTON;
constexpr DWORD kList = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kEdge = WS_EX_CLIENTEDGE;
// Visual Basic's own height for check boxes and option buttons (255 twips), the one
// the skin was made for.
constexpr int kBoxHeight = 17;
// Windows' progress control gives itself this edge; Wine's does not, and without a
// border the skin's client paint would cover the frame its window paint draws.
constexpr DWORD kBarEdge = WS_EX_STATICEDGE;

constexpr std::array<GalleryRow, kGalleryControlCount - 1> kRows = {{
    {ButtonsLabel, "ButtonsLabel", "Static", Window, 12, 8, 776, 16, kLabel, 0,
     "命令按钮：普通、有焦点、已禁用、VB 命令按钮；后两个打开消息框和打开文件对话框"},
    {ButtonNormal, "ButtonNormal", "Button", Window, 12, 28, 120, 28, kPush, 0, "普通按钮"},
    {ButtonFocus, "ButtonFocus", "Button", Window, 140, 28, 120, 28, kPush, 0, "有焦点"},
    {ButtonDisabled, "ButtonDisabled", "Button", Window, 268, 28, 120, 28, kPush | WS_DISABLED, 0,
     "已禁用"},
    {VbCommandButton, "VbCommandButton", kVbCommandButtonClass, Window, 396, 28, 120, 28, kPush, 0,
     "VB 命令按钮"},
    {MessageBoxButton, "MessageBoxButton", "Button", Window, 540, 28, 120, 28, kPush, 0, "消息框…"},
    {OpenFileButton, "OpenFileButton", "Button", Window, 668, 28, 120, 28, kPush, 0, "打开文件…"},

    {CheckLabel, "CheckLabel", "Static", Window, 12, 68, 376, 16, kLabel, 0,
     "复选框（ThunderRT6CheckBox，面板内）"},
    {CheckPanel, "CheckPanel", iFrame::kClassName, Window, 12, 86, 376, 128, 0, 0, ""},
    {CheckUnchecked, "CheckUnchecked", kVbCheckBoxClass, CheckPanel, 10, 8, 356, kBoxHeight, kCheck,
     0, "未选中"},
    {CheckChecked, "CheckChecked", kVbCheckBoxClass, CheckPanel, 10, 31, 356, kBoxHeight, kCheck, 0,
     "选中"},
    {CheckGrey, "CheckGrey", kVbCheckBoxClass, CheckPanel, 10, 54, 356, kBoxHeight,
     BS_AUTO3STATE | WS_TABSTOP, 0, "不确定（三态）"},
    {CheckDisabled, "CheckDisabled", kVb5CheckBoxClass, CheckPanel, 10, 77, 356, kBoxHeight,
     kCheck | WS_DISABLED, 0, "已禁用（选中，ThunderCheckBox）"},
    {SystemCheckBox, "SystemCheckBox", "Button", CheckPanel, 10, 100, 356, kBoxHeight, kCheck, 0,
     "系统复选框（Button 类：由系统绘制）"},

    {OptionLabel, "OptionLabel", "Static", Window, 400, 68, 388, 16, kLabel, 0,
     "单选按钮（ThunderRT6OptionButton，彩色面板内）"},
    {OptionPanel, "OptionPanel", iFrame::kClassName, Window, 400, 86, 388, 128, 0, 0, ""},
    {OptionChecked, "OptionChecked", kVbOptionButtonClass, OptionPanel, 10, 8, 368, kBoxHeight,
     kOption | WS_GROUP | WS_TABSTOP, 0, "选项一（选中）"},
    {OptionUnchecked, "OptionUnchecked", kVbOptionButtonClass, OptionPanel, 10, 31, 368, kBoxHeight,
     kOption, 0, "选项二"},
    {OptionThird, "OptionThird", kVbOptionButtonClass, OptionPanel, 10, 54, 368, kBoxHeight,
     kOption, 0, "选项三"},
    {OptionDisabled, "OptionDisabled", kVbOptionButtonClass, OptionPanel, 10, 77, 368, kBoxHeight,
     kOption | WS_DISABLED, 0, "已禁用"},
    {OptionDisabledChecked, "OptionDisabledChecked", kVb5OptionButtonClass, OptionPanel, 10, 100,
     368, kBoxHeight, kOption | WS_GROUP | WS_DISABLED, 0, "已禁用（选中，ThunderOptionButton）"},

    {ComboLabel, "ComboLabel", "Static", Window, 12, 224, 776, 16, kLabel, 0,
     "组合框：简单、下拉、下拉列表、已禁用（ThunderRT6ComboBox）、驱动器列表"},
    {ComboSimple, "ComboSimple", "ComboBox", Window, 12, 242, 150, 96,
     CBS_SIMPLE | CBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, 0, ""},
    {ComboDropDown, "ComboDropDown", "ComboBox", Window, 172, 242, 150, 200,
     CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, ""},
    {ComboDropDownList, "ComboDropDownList", "ComboBox", Window, 332, 242, 150, 200,
     CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, ""},
    {VbComboDisabled, "VbComboDisabled", kVbComboBoxClass, Window, 492, 242, 140, 200,
     CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP | WS_DISABLED, 0, ""},
    {DriveList, "DriveList", kVbDriveListClass, Window, 642, 242, 146, 200,
     CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, ""},

    {ListViewLabel, "ListViewLabel", "Static", Window, 12, 348, 376, 16, kLabel, 0,
     "列表视图（SysListView32，标题栏 SysHeader32）"},
    {ListView, "ListView", WC_LISTVIEWA, Window, 12, 366, 376, 120,
     LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP, kEdge, ""},
    {HeaderLabel, "HeaderLabel", "Static", Window, 400, 348, 388, 16, kLabel, 0,
     "标题栏（msvb_lib_header）与表格（ApexGridOleDB32）"},
    {Header, "Header", kVbHeaderClass, Window, 400, 366, 388, 24, HDS_BUTTONS | HDS_HORZ, 0, ""},
    {Grid, "Grid", kVbGridClass, Window, 400, 396, 388, 90,
     LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 0, ""},

    {ProgressLabel, "ProgressLabel", "Static", Window, 12, 496, 376, 16, kLabel, 0,
     "进度条（ProgressBar20WndClass，满刻度 30000）"},
    {ProgressEmpty, "ProgressEmpty", kVbProgressBarClass, Window, 12, 514, 300, 18, 0, kBarEdge,
     ""},
    {ProgressThird, "ProgressThird", kVbProgressBarClass, Window, 12, 538, 300, 18, 0, kBarEdge,
     ""},
    {ProgressHalfSmooth, "ProgressHalfSmooth", kVbProgressBarClass, Window, 12, 562, 300, 18,
     PBS_SMOOTH, kBarEdge, ""},
    {ProgressFull, "ProgressFull", kVb5ProgressBarClass, Window, 12, 586, 300, 18, 0, kBarEdge, ""},
    {ProgressVertical, "ProgressVertical", kVbProgressBarClass, Window, 328, 514, 22, 90,
     PBS_VERTICAL, kBarEdge, ""},
    {ProgressVerticalSmooth, "ProgressVerticalSmooth", kVbProgressBarClass, Window, 360, 514, 22,
     90, PBS_VERTICAL | PBS_SMOOTH, kBarEdge, ""},

    {TextLabel, "TextLabel", "Static", Window, 400, 496, 388, 16, kLabel, 0,
     "文本框与列表框（平面边框）；DataListWndClass、DBListWndClass"},
    {TextBox, "TextBox", "Edit", Window, 400, 514, 190, 23, ES_AUTOHSCROLL | WS_TABSTOP, kEdge,
     "可以输入文字"},
    {TextBoxDisabled, "TextBoxDisabled", "Edit", Window, 400, 543, 190, 23,
     ES_AUTOHSCROLL | WS_DISABLED, kEdge, "已禁用的文本框"},
    {TextBoxMultiline, "TextBoxMultiline", "Edit", Window, 400, 572, 190, 56,
     ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP, kEdge,
     "多行文本框\r\n第二行\r\n第三行\r\n第四行"},
    {ListBox, "ListBox", "ListBox", Window, 600, 514, 188, 54, kList, kEdge, ""},
    {DataList, "DataList", kVbDataListClass, Window, 600, 574, 90, 54, kList, kEdge, ""},
    {DbListDisabled, "DbListDisabled", kVbDbListClass, Window, 698, 574, 90, 54,
     kList | WS_DISABLED, kEdge, ""},

    // Under the progress bars, so that the window fits a 1280 x 1024 screen at 150 %.
    {StatusLabel, "StatusLabel", "Static", Window, 12, 612, 376, 28, kLabel, 0,
     "点“消息框…”或“打开文件…”，回答显示在这里。"},
}};

constexpr bool RowsInEnumOrder() {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const std::size_t expected = i < static_cast<std::size_t>(ListViewHeader) ? i : i + 1;
        if (static_cast<std::size_t>(kRows[i].id) != expected) {
            return false;
        }
    }
    return true;
}
static_assert(RowsInEnumOrder(), "rows follow GalleryControl, skipping ListViewHeader");

std::size_t RowIndex(GalleryControl id) {
    const auto index = static_cast<std::size_t>(id == ListViewHeader ? ListView : id);
    return index < static_cast<std::size_t>(ListViewHeader) ? index : index - 1;
}

}  // namespace

const std::array<GalleryRow, kGalleryControlCount - 1>& GalleryLayout() {
    return kRows;
}

const GalleryRow& GalleryRowOf(GalleryControl id) {
    return kRows[RowIndex(id)];
}

std::string_view GalleryControlName(GalleryControl id) {
    if (id == ListViewHeader) {
        return "ListViewHeader";
    }
    const auto index = static_cast<std::size_t>(id);
    return index < kGalleryControlCount ? GalleryRowOf(id).name : "Window";
}

std::optional<GalleryControl> GalleryControlNamed(std::string_view name) {
    for (int i = 0; i < static_cast<int>(kGalleryControlCount); ++i) {
        const auto id = static_cast<GalleryControl>(i);
        if (GalleryControlName(id) == name) {
            return id;
        }
    }
    return std::nullopt;
}

}  // namespace quenlo::gallery
