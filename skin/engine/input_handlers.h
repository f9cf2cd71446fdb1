// Mouse, keyboard, focus, enabling and timer messages of skinned windows. Each handler
// takes (previous procedure, window, message, wParam, lParam), passes the message on
// exactly once and returns what the previous procedure returned.
#pragma once

#include <windows.h>

namespace quenlo::skin {

LRESULT OnMouseMove(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnMouseLeave(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnLButtonDown(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnLButtonUp(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnKeyDown(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnKeyUp(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnSetFocus(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnKillFocus(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnEnable(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnTimer(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace quenlo::skin
