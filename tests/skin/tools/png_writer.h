// Reads pictures off device contexts and writes them as PNG files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quenlo::skin {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // row by row from the top
};

// Every pixel becomes a scale x scale square.
Picture ScaleUp(const Picture& picture, int scale);

// Reads a device context's rectangle into a picture.
Picture ReadPicture(HDC source, int x, int y, int width, int height);

bool WritePng(const std::string& path, const Picture& picture);

}  // namespace quenlo::skin
