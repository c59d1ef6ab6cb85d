#include "PageComparison.h"

#include <algorithm>
#include <cmath>

namespace {

float GreyOf(uint32_t rgb) {
    const float r = float((rgb >> 16) & 255), g = float((rgb >> 8) & 255), b = float(rgb & 255);
    return (0.299f * r + 0.587f * g + 0.114f * b) / 255.0f;
}

std::vector<float> Blurred(const GreyPicture& p) {
    std::vector<float> out(p.grey.size(), 1.0f);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            float sum = 0;
            int n = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int xx = x + dx, yy = y + dy;
                    if (xx < 0 || yy < 0 || xx >= p.width || yy >= p.height) continue;
                    sum += p.grey[size_t(yy) * p.width + xx];
                    ++n;
                }
            out[size_t(y) * p.width + x] = sum / float(n);
        }
    return out;
}

}  // namespace

GreyPicture At100Dpi(const std::vector<uint32_t>& pixels, int width, int height, double dpi, int outWidth,
                     int outHeight) {
    GreyPicture out;
    out.width = outWidth;
    out.height = outHeight;
    out.grey.assign(size_t(outWidth) * outHeight, 1.0f);
    const double scale = dpi / 100.0;  // source pixels per output pixel
    std::vector<double> sum(out.grey.size(), 0.0), area(out.grey.size(), 0.0);
    for (int y = 0; y < height; ++y) {
        const double y0 = y / scale, y1 = (y + 1) / scale;
        for (int x = 0; x < width; ++x) {
            const double x0 = x / scale, x1 = (x + 1) / scale;
            const float g = GreyOf(pixels[size_t(y) * width + x]);
            // a source pixel spreads over at most two output pixels each way
            for (int oy = int(y0); oy <= int(y1) && oy < outHeight; ++oy) {
                const double h = std::min(y1, double(oy + 1)) - std::max(y0, double(oy));
                if (h <= 0) continue;
                for (int ox = int(x0); ox <= int(x1) && ox < outWidth; ++ox) {
                    const double w = std::min(x1, double(ox + 1)) - std::max(x0, double(ox));
                    if (w <= 0) continue;
                    sum[size_t(oy) * outWidth + ox] += g * w * h;
                    area[size_t(oy) * outWidth + ox] += w * h;
                }
            }
        }
    }
    for (size_t i = 0; i < out.grey.size(); ++i)
        if (area[i] > 0) out.grey[i] = float(sum[i] / area[i]);
    return out;
}

PageDifference Compare(const GreyPicture& a, const GreyPicture& b) {
    PageDifference d;
    if (a.width != b.width || a.height != b.height || a.grey.empty()) return d;
    const std::vector<float> ba = Blurred(a), bb = Blurred(b);
    size_t differing = 0, inkA = 0, inkB = 0;
    for (size_t i = 0; i < ba.size(); ++i) {
        differing += std::fabs(ba[i] - bb[i]) > 0.25f;
        inkA += a.grey[i] < 0.5f;
        inkB += b.grey[i] < 0.5f;
    }
    const int band = 16;  // 4 mm at 100 dpi
    d.worstBand = 0;
    for (int top = 0; top < a.height; top += band) {
        double inA = 0, inB = 0;
        for (int y = top; y < std::min(a.height, top + band); ++y)
            for (int x = 0; x < a.width; ++x) {
                inA += a.grey[size_t(y) * a.width + x] < 0.5f;
                inB += b.grey[size_t(y) * a.width + x] < 0.5f;
            }
        d.worstBand = std::max(d.worstBand, std::fabs(inA - inB) / (std::max(inA, inB) + 100));
    }
    const double n = double(ba.size());
    d.differing = differing / n;
    d.inkA = inkA / n;
    d.inkB = inkB / n;
    return d;
}
