// The main window's controls: where each sits (in twips, relative to its container),
// what it is and what it shows at start. The rows are in creation order, which is
// also the tab order within each container.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

namespace quenlo {

enum class ControlId : int {
    iFrame3,
    Command1,
    Text4,
    Label13,
    Text7,
    Command2,
    iFrame5,
    Label5,
    Label6,
    Label9,
    Label7,
    iFrame2,
    Label3,
    Text3,
    Label4,
    Label11,
    Text5,
    Label12,
    Text6,
    iFrame1,
    Label1,
    Text1,
    Label2,
    Text2,
    Window,  // the container of the top-level rows; not a control
};
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(ControlId::Window);

enum class ControlKind {
    Frame,
    TextBox,
    Button,
    Label,
    AutoSizeLabel,  // sizes itself to its caption
    LinkLabel,      // blue, reacts to a click
};

struct ControlLayout {
    ControlId id;
    const char* name;
    ControlKind kind;
    ControlId container;
    int left, top, width, height;  // twips
    const char* text;              // UTF-8
    bool visible;
};

inline constexpr int kClientWidthTwips = 8190;
inline constexpr int kClientHeightTwips = 1815;
inline constexpr int kLabel7RightMarginTwips = 60;
inline constexpr COLORREF kLinkColor = RGB(0, 0, 255);

inline constexpr char kWindowCaption[] = "Quenlo 文本分割 - quenlo.example";
inline constexpr char kPublisherLine[] = "Quenlo 主页：https://quenlo.example/";
inline constexpr char kPublisherAddress[] = "https://quenlo.example/";

const std::array<ControlLayout, kControlCount>& MainWindowLayout();
const ControlLayout& LayoutOf(ControlId id);

// The window control id of a layout row (for WM_COMMAND and GetDlgCtrlID).
inline int CommandIdOf(ControlId id) {
    return 100 + static_cast<int>(id);
}
// The layout row of a control id; Window for any other id.
inline ControlId ControlFromCommandId(int commandId) {
    const int index = commandId - CommandIdOf(ControlId::iFrame3);
    if (index < 0 || index >= static_cast<int>(kControlCount)) {
        return ControlId::Window;
    }
    return static_cast<ControlId>(index);
}

// Twips to pixels at the given dots per inch (15 twips a pixel at 96).
inline int TwipsToPixels(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}

// Where a row's control sits in its container, in pixels at the given DPI.
inline RECT PixelPlace(const ControlLayout& row, int dpi) {
    return {TwipsToPixels(row.left, dpi), TwipsToPixels(row.top, dpi),
            TwipsToPixels(row.left, dpi) + TwipsToPixels(row.width, dpi),
            TwipsToPixels(row.top, dpi) + TwipsToPixels(row.height, dpi)};
}

}  // namespace quenlo
