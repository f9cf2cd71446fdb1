// The common controls' subclassing helpers (SetWindowSubclass and its kin), taken from
// the system's comctl32 when first used rather than imported: comctl32 is no Known
// DLL. They need comctl32 5.8 or later, which every supported Windows has in its
// system folder; the manifests ask for no other version.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace quenlo {

// As SetWindowSubclass. False, and nothing subclassed, also when comctl32 or one of
// its helpers cannot be had: the control then keeps its own behaviour.
bool AddSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);

// As RemoveWindowSubclass.
bool RemoveSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);

// As DefSubclassProc: for a subclass procedure, the next one down the chain.
LRESULT DefaultSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quenlo
