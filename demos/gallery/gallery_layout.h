// The gallery's controls: one of each kind the skin treats, in each state worth seeing.
// Every row names its control, the window class it is made of, where it sits (pixels
// at 96 dots per inch, relative to its container) and what it shows at start. Rows are
// in creation order, which is also the tab order within each container.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace quenlo::gallery {

enum class GalleryControl : int {
    ButtonsLabel,
    ButtonNormal,
    ButtonFocus,  // takes the keyboard focus when the window opens
    ButtonDisabled,
    VbCommandButton,
    MessageBoxButton,
    OpenFileButton,
    CheckLabel,
    CheckPanel,
    CheckUnchecked,
    CheckChecked,
    CheckGrey,
    CheckDisabled,
    SystemCheckBox,  // class "Button": the skin leaves its drawing to the system
    OptionLabel,
    OptionPanel,
    OptionChecked,
    OptionUnchecked,
    OptionThird,
    OptionDisabled,
    OptionDisabledChecked,
    ComboLabel,
    ComboSimple,
    ComboDropDown,
    ComboDropDownList,
    VbComboDisabled,
    DriveList,
    ListViewLabel,
    ListView,
    ListViewHeader,  // the header the list view makes itself; not in the layout's rows
    HeaderLabel,
    Header,
    Grid,
    ProgressLabel,
    ProgressEmpty,
    ProgressThird,
    ProgressHalfSmooth,
    ProgressFull,
    ProgressVertical,
    ProgressVerticalSmooth,
    TextLabel,
    TextBox,
    TextBoxDisabled,
    TextBoxMultiline,
    ListBox,
    DataList,
    DbListDisabled,
    StatusLabel,  // what the message box and the file dialog answered
    Window,       // the container of the top-level rows; not a control
};
inline constexpr std::size_t kGalleryControlCount =
    static_cast<std::size_t>(GalleryControl::Window);

struct GalleryRow {
    GalleryControl id;
    const char* name;       // stable, for tests and people: "ButtonNormal"
    const char* className;  // as registered: system, look-alike under a VB name, or our own
    GalleryControl container;
    int left, top, width, height;  // pixels at 96 dpi
    DWORD style;                   // beyond WS_CHILD | WS_VISIBLE
    DWORD exStyle;
    const char* text;  // UTF-8
};

inline constexpr int kGalleryClientWidth = 800;
inline constexpr int kGalleryClientHeight = 644;
inline constexpr char kGalleryCaption[] = "Quenlo 皮肤控件展示";

// The full scale the skin draws progress bars against, whatever their range.
inline constexpr int kProgressFullScale = 30000;

// The rows of every control but ListViewHeader, in creation order.
const std::array<GalleryRow, kGalleryControlCount - 1>& GalleryLayout();
// The row of a control (not Window); ListViewHeader has none and gives the list
// view's row.
const GalleryRow& GalleryRowOf(GalleryControl id);

// "ButtonNormal", ...; "Window" for the gallery window itself.
std::string_view GalleryControlName(GalleryControl id);
std::optional<GalleryControl> GalleryControlNamed(std::string_view name);

// The window control id of a control (for WM_COMMAND and GetDlgItem).
inline int GalleryCommandId(GalleryControl id) {
    return 1000 + static_cast<int>(id);
}

}  // namespace quenlo::gallery
