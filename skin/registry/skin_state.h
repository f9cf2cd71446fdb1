// Process-wide state of the skin module. Touched only on the user-interface thread.
#pragma once

#include <windows.h>

namespace quenlo::skin {

// True while the five skin images exist.
inline bool SkinImagesBuilt = false;
// Whether "User32" exports "TrackMouseEvent"; probed each time the images are built.
inline bool HasTrackMouseEvent = false;
// Windows currently subclassed by the skin.
inline int SkinnedWindowCount = 0;

// The five skin images: memory device contexts, each holding its own bitmap. They
// belong to the module from the first attachment until the last window is released.
inline HDC ButtonImage = nullptr;
inline HDC ComboButtonImage = nullptr;
inline HDC MarkImage = nullptr;
inline HDC OptionImage = nullptr;
inline HDC HeaderImage = nullptr;

}  // namespace quenlo::skin
