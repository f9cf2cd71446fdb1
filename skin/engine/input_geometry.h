// Where a mouse message points: signed coordinates, the combo box arrow zone and
// the header item under the cursor.
#pragma once

#include <windows.h>

#include <cstdint>

namespace quenlo::skin {

// Low and high 16 bits of a message parameter, signed: a position left of or above
// the window (a captured drag) comes out negative, as it must.
constexpr int LoWord(LPARAM value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}
constexpr int HiWord(LPARAM value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((value >> 16) & 0xFFFF));
}

// True when (x, y) lies in the drop-down arrow of an editable combo box; a combo box
// of the simple or drop-down-list style counts as arrow everywhere.
bool IsInComboArrowZone(HWND hWnd, int x, int y);

// True when the window under the cursor is hWnd itself (not a child, not another).
bool IsCursorOver(HWND hWnd);

// Index of the header item whose rectangle spans x (edges included), or -1.
int HeaderItemAt(HWND hWnd, int x);

}  // namespace quenlo::skin
