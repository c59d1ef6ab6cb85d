#include <gtest/gtest.h>

#include <cstring>

#include "ImageFiles.h"
#include "Shapes.h"

namespace {

uint32_t le32(const Bytes& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint32_t le16(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t be32(const Bytes& b, size_t at) {
    return (static_cast<uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

// 3 x 2: top row opaque red, half-transparent green, clear; bottom row blue, white, black.
Canvas sample() {
    Canvas c(3, 2);
    c.setPixel(0, 0, rgb(255, 0, 0));
    c.setPixel(1, 0, rgb(0, 255, 0, 0.5));
    c.setPixel(0, 1, rgb(0, 0, 255));
    c.setPixel(1, 1, rgb(255, 255, 255));
    c.setPixel(2, 1, rgb(0, 0, 0));
    return c;
}

struct InfoHeader {
    uint32_t size, width, height, planes, bitCount, compression, imageSize, colours;
};

InfoHeader infoAt(const Bytes& b, size_t at) {
    return {le32(b, at), le32(b, at + 4), le32(b, at + 8), le16(b, at + 12), le16(b, at + 14), le32(b, at + 16),
            le32(b, at + 20), le32(b, at + 32)};
}

TEST(Bmp32, BottomUpBgraWithPremultipliedAlpha) {
    const Bytes b = encodeBmp32Premultiplied(sample());
    ASSERT_EQ(b.size(), 14u + 40 + 3 * 2 * 4);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le32(b, 2), b.size());
    EXPECT_EQ(le32(b, 10), 54u);
    const InfoHeader h = infoAt(b, 14);
    EXPECT_EQ(h.size, 40u);
    EXPECT_EQ(h.width, 3u);
    EXPECT_EQ(h.height, 2u);  // positive: bottom-up
    EXPECT_EQ(h.planes, 1u);
    EXPECT_EQ(h.bitCount, 32u);
    EXPECT_EQ(h.compression, 0u);  // BI_RGB
    EXPECT_EQ(h.imageSize, 24u);
    // first stored row is the bottom one: blue, white, black
    const uint8_t bottom[12] = {255, 0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255};
    EXPECT_EQ(std::memcmp(&b[54], bottom, 12), 0);
    // then red, green premultiplied by one half, and a clear pixel all zero
    const uint8_t top[12] = {0, 0, 255, 255, 0, 128, 0, 128, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(&b[66], top, 12), 0);
}

TEST(Bmp24, RowsArePaddedAndTransparencyFlattened) {
    const Bytes b = encodeBmp24(sample(), Color{1, 1, 1, 1});
    const uint32_t stride = 12;  // 9 bytes rounded up to 4
    ASSERT_EQ(b.size(), 54u + 2 * stride);
    const InfoHeader h = infoAt(b, 14);
    EXPECT_EQ(h.bitCount, 24u);
    EXPECT_EQ(h.imageSize, 2 * stride);
    const size_t top = 54 + stride;
    EXPECT_EQ(b[top + 0], 0);  // red: B G R
    EXPECT_EQ(b[top + 2], 255);
    EXPECT_EQ(b[top + 3], 128);  // half green over white: (128, 255, 128)
    EXPECT_EQ(b[top + 4], 255);
    EXPECT_EQ(b[top + 5], 128);
    EXPECT_EQ(b[top + 6], 255);  // clear becomes the white background
    EXPECT_EQ(b[top + 9], 0);   // padding
}

TEST(Bmp4, PaletteAndNibblesHighFirst) {
    const std::vector<Rgba8> palette{{0, 0, 0, 0}, {255, 255, 255, 0}};
    const std::vector<uint8_t> indices{1, 0, 1, 0, 0, 1};  // 3 x 2
    const Bytes b = encodeBmp4(3, 2, indices, palette);
    ASSERT_EQ(b.size(), 54u + 64 + 2 * 4);
    EXPECT_EQ(le32(b, 10), 118u);
    const InfoHeader h = infoAt(b, 14);
    EXPECT_EQ(h.bitCount, 4u);
    EXPECT_EQ(h.colours, 16u);
    EXPECT_EQ(b[54 + 4], 255);  // palette entry 1, blue byte
    EXPECT_EQ(b[54 + 7], 0);    // reserved byte
    EXPECT_EQ(b[118], 0x00);    // bottom row 0 0 | 1
    EXPECT_EQ(b[119], 0x10);
    EXPECT_EQ(b[122], 0x10);    // top row 1 0 | 1
    EXPECT_EQ(b[123], 0x10);
}

TEST(Ico, DirectoryEntriesPointAtBitmapsWithMasks) {
    Canvas small(16, 16), large(32, 32);
    small.fill(circlePath(8, 8, 6), rgb(255, 0, 0));
    large.fill(rectPath(0, 0, 32, 16), rgb(0, 0, 255, 0.5));
    const Bytes b = encodeIco({&small, &large});
    EXPECT_EQ(le16(b, 0), 0u);
    EXPECT_EQ(le16(b, 2), 1u);
    ASSERT_EQ(le16(b, 4), 2u);
    const uint32_t sizes[] = {16, 32};
    size_t expectedOffset = 6 + 2 * 16;
    for (int i = 0; i < 2; ++i) {
        const size_t e = 6 + 16 * i;
        const uint32_t n = sizes[i];
        EXPECT_EQ(b[e], n) << "entry " << i;
        EXPECT_EQ(b[e + 1], n) << "entry " << i;
        EXPECT_EQ(le16(b, e + 4), 1u);
        EXPECT_EQ(le16(b, e + 6), 32u);
        const uint32_t bytes = le32(b, e + 8), offset = le32(b, e + 12);
        EXPECT_EQ(offset, expectedOffset) << "entry " << i;
        const uint32_t maskStride = ((n + 31) / 32) * 4;
        EXPECT_EQ(bytes, 40 + n * n * 4 + maskStride * n) << "entry " << i;
        const InfoHeader h = infoAt(b, offset);
        EXPECT_EQ(h.width, n);
        EXPECT_EQ(h.height, 2 * n);  // colour rows and mask rows
        EXPECT_EQ(h.bitCount, 32u);
        expectedOffset += bytes;
    }
    EXPECT_EQ(b.size(), expectedOffset);
    // the large image: its top half (stored last) is half-transparent blue, straight alpha
    const size_t large0 = le32(b, 6 + 16 + 12) + 40;
    const size_t topRow = large0 + 31 * 32 * 4;
    EXPECT_EQ(b[topRow + 0], 255);
    EXPECT_EQ(b[topRow + 3], 128);
    // mask: bottom rows transparent (bits set), top rows opaque
    const size_t mask = large0 + 32 * 32 * 4;
    EXPECT_EQ(b[mask], 0xFF);
    EXPECT_EQ(b[mask + 31 * 4], 0x00);
    // the small one: clear corner in the mask, the circle's middle opaque
    const size_t small0 = le32(b, 6 + 12) + 40;
    const size_t smallMask = small0 + 16 * 16 * 4;
    EXPECT_EQ(b[smallMask] & 0x80, 0x80);
    EXPECT_EQ(b[smallMask + 8 * 4 + 1] & 0x80, 0x00);  // row 8 from the bottom, pixel 8
}

TEST(Png, ChunksAndStoredDeflateAreWellFormed) {
    const Bytes b = encodePng(sample());
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_GT(b.size(), 8u);
    EXPECT_EQ(std::memcmp(b.data(), signature, 8), 0);
    size_t at = 8;
    std::vector<std::string> types;
    Bytes idat;
    while (at + 12 <= b.size()) {
        const uint32_t length = be32(b, at);
        const std::string type(b.begin() + at + 4, b.begin() + at + 8);
        types.push_back(type);
        EXPECT_EQ(be32(b, at + 8 + length), crc32(&b[at + 4], length + 4)) << type;
        if (type == "IHDR") {
            EXPECT_EQ(be32(b, at + 8), 3u);
            EXPECT_EQ(be32(b, at + 12), 2u);
        }
        if (type == "IDAT") idat.assign(b.begin() + at + 8, b.begin() + at + 8 + length);
        at += 12 + length;
    }
    EXPECT_EQ(at, b.size());
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    // one stored block holding 2 rows of (filter byte + 3 RGBA pixels)
    ASSERT_EQ(idat.size(), 2u + 5 + 26 + 4);
    EXPECT_EQ((idat[0] * 256 + idat[1]) % 31, 0);  // zlib header check
    EXPECT_EQ(idat[2], 1);                         // final, stored
    EXPECT_EQ(le16(idat, 3), 26u);
    EXPECT_EQ(le16(idat, 5), 0xFFFFu - 26);
    EXPECT_EQ(idat[7 + 1], 255);  // first pixel red
    EXPECT_EQ(idat[7 + 8], 128);  // second pixel's alpha
    EXPECT_EQ(crc32(reinterpret_cast<const uint8_t*>("IEND"), 4), 0xAE426082u);
}

}  // namespace
