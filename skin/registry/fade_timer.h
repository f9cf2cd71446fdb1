// The per-button fade timer. Kept apart from the input handlers because the paint
// handler must be able to stop a fade too.
#pragma once

#include <windows.h>

namespace quenlo::skin {

inline constexpr UINT_PTR kFadeTimerId = 1;
inline constexpr UINT kFadePeriodMs = 15;

// Starts the fade timer unless one runs; the SetTimer result, or 0 when one ran.
UINT_PTR StartFadeTimer(HWND hWnd);

// Stops a running fade timer; the KillTimer result, or 0 when none ran.
BOOL StopFadeTimer(HWND hWnd);

}  // namespace quenlo::skin
