#include "skin/images/skin_images.h"

#include "skin/registry/skin_state.h"
#include "skin/images/skin_blit.h"
#include "skin/images/skin_image_pixels.h"

#include <vector>

namespace quenlo::skin {
namespace {

struct ImageSlot {
    HDC* global;
    PixelImage (*pixels)();
};

// In the order the images are created, filled and deleted.
const ImageSlot kImages[] = {
    {&ButtonImage, ButtonImagePixels}, {&ComboButtonImage, ComboButtonImagePixels},
    {&MarkImage, MarkImagePixels},     {&OptionImage, OptionImagePixels},
    {&HeaderImage, HeaderImagePixels},
};

}  // namespace

void BuildSkinImages() {
    DeleteSkinImages();
    std::vector<PixelImage> images;
    for (const ImageSlot& slot : kImages) {
        images.push_back(slot.pixels());
        *slot.global = CreateMemoryBitmap(images.back().width, images.back().height);
    }
    for (size_t i = 0; i < std::size(kImages); ++i) {
        HDC dc = *kImages[i].global;
        const PixelImage& image = images[i];
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                SetPixel(dc, x, y, image.at(x, y));
            }
        }
    }
}

void DeleteSkinImages() {
    for (const ImageSlot& slot : kImages) {
        DeleteMemoryBitmap(*slot.global);
        *slot.global = nullptr;
    }
}

}  // namespace quenlo::skin
