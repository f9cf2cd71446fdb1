// The window's icon, made from the picture in main_window/icon (the same picture the
// build puts into Quenlo.exe's icon resource).
#pragma once

#include <windows.h>

namespace quenlo {

HICON CreateQuenloIcon(int size);

}  // namespace quenlo
