#pragma once
// Two pictures of one printed page compared as a reader would see them: both
// brought to 100 dpi grey by averaging the area each new pixel covers, then
// the share of pixels whose grey differs by more than a quarter of the range
// after a 3 × 3 blur, which forgives the half pixel by which two renderers
// place a line or a letter.
#include <cstdint>
#include <vector>

struct GreyPicture {
    int width = 0, height = 0;
    std::vector<float> grey;  // 0 black ... 1 white, row by row
};

// 0xRRGGBB pixels of a picture at `dpi` (any, also not a whole multiple of
// 100) as a grey picture of `width` × `height` at 100 dpi.
GreyPicture At100Dpi(const std::vector<uint32_t>& pixels, int width, int height, double dpi, int outWidth,
                     int outHeight);

struct PageDifference {
    double differing = 1;  // share of pixels whose blurred grey differs by more than 0.25
    double inkA = 0, inkB = 0;  // share of pixels darker than half grey
    // The worst band of 4 mm of the sheet's height: the difference of its ink
    // pixels over the larger count (plus 100, so that nearly empty bands do
    // not count); a line of text missing or moved shows here.
    double worstBand = 1;
};
PageDifference Compare(const GreyPicture& a, const GreyPicture& b);
