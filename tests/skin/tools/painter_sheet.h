// One picture of every skinned control kind in every state, painted by the real
// painters on real controls.
#pragma once

#include "png_writer.h"

namespace quenlo::skin {

// Needs the skin images built.
Picture PaintPainterSheet();

}  // namespace quenlo::skin
