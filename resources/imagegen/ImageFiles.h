#pragma once
// The file formats the resource compiler and the contact sheet take.

#include <cstdint>
#include <string>
#include <vector>

#include "Raster.h"

using Bytes = std::vector<uint8_t>;

// 32 bits per pixel, BI_RGB, bottom-up, premultiplied alpha in the fourth
// byte: what AlphaBlend with per-pixel alpha expects of its source.
Bytes encodeBmp32Premultiplied(const Canvas& image);
// 24 bits per pixel, the picture flattened onto `background`.
Bytes encodeBmp24(const Canvas& image, Color background);
// 4 bits per pixel with a 16-entry palette; `indices` holds one entry per pixel, top row first.
Bytes encodeBmp4(int width, int height, const std::vector<uint8_t>& indices, const std::vector<Rgba8>& palette);
// An icon file with one 32-bit entry (straight alpha, plus the AND mask) per image, in the given order.
Bytes encodeIco(const std::vector<const Canvas*>& images);
// PNG, 8-bit RGBA, with stored (uncompressed) deflate blocks.
Bytes encodePng(const Canvas& image);

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

bool writeFile(const std::string& path, const Bytes& bytes);
