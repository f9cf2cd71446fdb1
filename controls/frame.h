// iFrame: a panel that groups controls inside a thin rectangular border. Its face is
// its background colour; the border is a one-pixel outline that always covers the
// whole panel. Notifications of the controls inside go on to the panel's parent, as
// if the controls sat on the parent itself.
#pragma once

#include <windows.h>

#include <cstdint>

#include "controls/property_bag.h"

namespace quenlo {

// A COLORREF, or with the top bit set a system colour index in the low byte.
using OleColor = std::uint32_t;
inline constexpr OleColor kButtonFaceOleColor = 0x8000000F;
inline constexpr COLORREF kFrameBorderColor = RGB(215, 208, 172);

COLORREF TranslateOleColor(OleColor color);

class iFrame {
public:
    static constexpr char kClassName[] = "Quenlo.iFrame";
    static constexpr char kBackColorProperty[] = "BackColor";

    // Creates a panel from its saved properties; saved may be null (nothing saved).
    // The bag, when given, must outlive the window.
    static HWND Create(HWND parent, int id, const RECT& place, DWORD style, PropertyBag* saved);
    // The panel behind a window handle; null for any other window.
    static iFrame* FromWindow(HWND window);

    OleColor BackColor() const { return backColor_; }
    void SetBackColor(OleColor New_BackColor);
    // The brush the panel's face is painted with; children use it behind their text.
    HBRUSH BackBrush() const { return backBrush_; }
    // With system colours on (high contrast), the face and border take the theme's
    // colours whatever BackColor says; BackColor itself is kept.
    void SetSystemColours(bool on);
    // Where the border outline lies, in the panel's client pixels.
    const RECT& BorderRect() const { return border_; }

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    iFrame(const iFrame&) = delete;
    iFrame& operator=(const iFrame&) = delete;

private:
    iFrame(HWND window, PropertyBag* saved);
    ~iFrame();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;
    COLORREF FaceColour() const;
    void RenewBrush();

    HWND window_;
    PropertyBag* saved_;
    OleColor backColor_ = kButtonFaceOleColor;
    HBRUSH backBrush_ = nullptr;  // owned: replaced with the colour, deleted with the panel
    bool systemColours_ = false;
    RECT border_{};
};

}  // namespace quenlo
