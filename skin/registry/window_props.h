// The window properties that hold every piece of a skinned window's state, and the
// typed helpers all access goes through. Values are pointer-sized, so a handle or a
// window procedure survives whole in the 64-bit build; a property never set reads 0.
#pragma once

#include <windows.h>

#include <type_traits>

namespace quenlo::skin {

inline constexpr char kPropProcAddr[] = "PROCADDR";
inline constexpr char kPropOldStyle[] = "OLDSTYLE";
inline constexpr char kPropMouseFlag[] = "MOUSEFLAG";
inline constexpr char kPropTimerId[] = "TIMERID";
inline constexpr char kPropOldState[] = "OLDSTATE";
inline constexpr char kPropAlphaLevel[] = "ALPHALEVEL";
inline constexpr char kPropHotIndex[] = "HMINDEX";      // header item under the mouse
inline constexpr char kPropPressedIndex[] = "HDINDEX";  // header item pressed

// States of skinned controls, as kept in OLDSTATE.
inline constexpr int kStateNormal = 0;
inline constexpr int kStateHover = 1;
inline constexpr int kStatePressed = 2;
inline constexpr int kStateDisabled = 3;  // command buttons only

// "HDC0" ... "HDC3": a command button's state bitmap (memory DC) per state.
inline const char* StateDcProp(int state) {
    static constexpr const char* kNames[] = {"HDC0", "HDC1", "HDC2", "HDC3"};
    return kNames[state & 3];
}
// "BMP0" ... "BMP3": the bitmap selected into the matching state DC.
inline const char* StateBitmapProp(int state) {
    static constexpr const char* kNames[] = {"BMP0", "BMP1", "BMP2", "BMP3"};
    return kNames[state & 3];
}

template <typename T = INT_PTR>
T GetSkinProp(HWND window, const char* name) {
    static_assert(sizeof(T) <= sizeof(HANDLE));
    HANDLE raw = GetPropA(window, name);
    if constexpr (std::is_pointer_v<T>) {
        return reinterpret_cast<T>(raw);
    } else {
        return static_cast<T>(reinterpret_cast<INT_PTR>(raw));
    }
}

template <typename T>
void SetSkinProp(HWND window, const char* name, T value) {
    static_assert(sizeof(T) <= sizeof(HANDLE));
    if constexpr (std::is_pointer_v<T>) {
        SetPropA(window, name, reinterpret_cast<HANDLE>(value));
    } else {
        SetPropA(window, name, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(value)));
    }
}

inline void RemoveSkinProp(HWND window, const char* name) {
    RemovePropA(window, name);
}

}  // namespace quenlo::skin
