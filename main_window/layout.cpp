#include "main_window/layout.h"

namespace quenlo {
namespace {

using enum ControlId;
using K = ControlKind;

// clang-format off
constexpr std::array<ControlLayout, kControlCount> kLayout{{
    // id        name        kind              container left   top   width height text                 visible
    {iFrame3,  "iFrame3",  K::Frame,         Window,    120,  120, 7815,  495, "",                   true},
    {Command1, "Command1", K::Button,        iFrame3,  6600,   60,  975,  375, "导入文件",            true},
    {Text4,    "Text4",    K::TextBox,       iFrame3,   120,  120, 6375,  270, "",                   true},
    {Label13,  "Label13",  K::Label,         Window,    240,  840,  975,  255, "分割行数：",          true},
    {Text7,    "Text7",    K::TextBox,       Window,   1320,  720, 1215,  270, "30000",              true},
    {Command2, "Command2", K::Button,        Window,   6240,  720, 1575,  375, "开始处理",            true},
    {iFrame5,  "iFrame5",  K::Frame,         Window,    120, 1200, 7935,  495, "",                   true},
    {Label5,   "Label5",   K::AutoSizeLabel, iFrame5,   120,  160,  720,  180, "已用时：",            true},
    {Label6,   "Label6",   K::AutoSizeLabel, iFrame5,   840,  165,  360,  180, "0 秒",               true},
    {Label9,   "Label9",   K::LinkLabel,     iFrame5,  1440,  120, 3615,  255, kPublisherLine,       true},
    {Label7,   "Label7",   K::AutoSizeLabel, iFrame5,  6000,  120, 2175,  180, "总共处理行数：0",     true},
    // Settings that no part of the program reads: hidden, and below the client area.
    {iFrame2,  "iFrame2",  K::Frame,         Window,    120, 2520, 8295, 1215, "",                   false},
    {Label3,   "Label3",   K::Label,         iFrame2,   120,  165, 1260,  180, "参数导出顺序：",      true},
    {Text3,    "Text3",    K::TextBox,       iFrame2,  1440,  120, 6735,  270, "",                   true},
    {Label4,   "Label4",   K::Label,         iFrame2,  2640,  480, 5490,  180,
     "格式为：1 2 3 4 5 其中空格为分隔符 设置请不要超过最大参数数量",                                  true},
    {Label11,  "Label11",  K::Label,         iFrame2,   120,  840,  615,  255, "前缀：",              true},
    {Text5,    "Text5",    K::TextBox,       iFrame2,   720,  840, 3375,  270, "",                   true},
    {Label12,  "Label12",  K::Label,         iFrame2,  4440,  840,  615,  255, "后缀：",              true},
    {Text6,    "Text6",    K::TextBox,       iFrame2,  5040,  840, 3135,  270, "",                   true},
    {iFrame1,  "iFrame1",  K::Frame,         Window,    120, 4560, 8295,  615, "",                   false},
    {Label1,   "Label1",   K::Label,         iFrame1,   120,  240, 1620,  180, "导入文件的分隔符：",  true},
    {Text1,    "Text1",    K::TextBox,       iFrame1,  1800,  200, 2055,  270, "",                   true},
    {Label2,   "Label2",   K::Label,         iFrame1,  4080,  240, 1620,  180, "导出文件的分隔符：",  true},
    {Text2,    "Text2",    K::TextBox,       iFrame1,  5760,  200, 2415,  270, "",                   true},
}};
// clang-format on

constexpr bool RowsMatchTheirIds() {
    for (std::size_t i = 0; i < kLayout.size(); ++i) {
        if (static_cast<std::size_t>(kLayout[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(RowsMatchTheirIds(), "layout rows must follow the ControlId order");

}  // namespace

const std::array<ControlLayout, kControlCount>& MainWindowLayout() {
    return kLayout;
}

const ControlLayout& LayoutOf(ControlId id) {
    return kLayout[static_cast<std::size_t>(id)];
}

}  // namespace quenlo
