// The five skin images, built in memory from the pixel data of skin_image_pixels.h
// into the module's globals (skin/registry/skin_state.h).
#pragma once

namespace quenlo::skin {

// Creates ButtonImage, ComboButtonImage, MarkImage, OptionImage and HeaderImage, in
// that order, and sets every one of their pixels once, image by image, row by row.
// Images still held from an earlier build are released first.
void BuildSkinImages();

// Deletes the five images (device contexts and bitmaps) in the same order and
// clears their globals.
void DeleteSkinImages();

}  // namespace quenlo::skin
