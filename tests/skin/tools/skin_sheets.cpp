// Writes the skin's pictures as PNG files for people to look at:
//   skin_sheets OUTPUT_FOLDER
// gives one file per skin image, scaled up 8 times, and Painters.png: every control
// kind in the normal, hover, pressed and disabled states, scaled up twice.
#include <cstdio>
#include <string>

#include "painter_sheet.h"
#include "png_writer.h"
#include "skin/registry/skin_state.h"
#include "skin/images/skin_images.h"

namespace quenlo::skin {
namespace {

int WriteImages(const std::string& folder) {
    BuildSkinImages();
    const struct {
        const char* name;
        HDC image;
        int width, height;
    } images[] = {{"ButtonImage", ButtonImage, 7, 84},
                  {"ComboButtonImage", ComboButtonImage, 15, 18},
                  {"MarkImage", MarkImage, 18, 24},
                  {"OptionImage", OptionImage, 13, 52},
                  {"HeaderImage", HeaderImage, 9, 20}};
    int failures = 0;
    for (const auto& image : images) {
        std::string path = folder + "/" + image.name + ".png";
        Picture picture = ReadPicture(image.image, 0, 0, image.width, image.height);
        if (!WritePng(path, ScaleUp(picture, 8))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    const std::string sheetPath = folder + "/Painters.png";
    if (!WritePng(sheetPath, ScaleUp(PaintPainterSheet(), 2))) {
        std::fprintf(stderr, "cannot write %s\n", sheetPath.c_str());
        ++failures;
    }
    DeleteSkinImages();
    return failures;
}

}  // namespace
}  // namespace quenlo::skin

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : ".";
    CreateDirectoryA(folder.c_str(), nullptr);
    return quenlo::skin::WriteImages(folder) == 0 ? 0 : 1;
}
