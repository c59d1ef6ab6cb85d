#include "ImageFiles.h"

#include <algorithm>
#include <cstdio>

static void put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

static void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

static void put32be(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v >> 24));
    b.push_back(static_cast<uint8_t>(v >> 16));
    b.push_back(static_cast<uint8_t>(v >> 8));
    b.push_back(static_cast<uint8_t>(v));
}

static const uint32_t kPixelsPerMetre = 3780;  // 96 dpi

static void putInfoHeader(Bytes& b, int width, int height, int bitCount, uint32_t imageSize, uint32_t colours) {
    put32(b, 40);
    put32(b, static_cast<uint32_t>(width));
    put32(b, static_cast<uint32_t>(height));
    put16(b, 1);
    put16(b, static_cast<uint32_t>(bitCount));
    put32(b, 0);  // BI_RGB
    put32(b, imageSize);
    put32(b, kPixelsPerMetre);
    put32(b, kPixelsPerMetre);
    put32(b, colours);
    put32(b, 0);
}

static void putFileHeader(Bytes& b, uint32_t fileSize, uint32_t pixelOffset) {
    b.push_back('B');
    b.push_back('M');
    put32(b, fileSize);
    put32(b, 0);
    put32(b, pixelOffset);
}

static uint32_t rowBytes(int width, int bitCount) { return ((static_cast<uint32_t>(width) * bitCount + 31) / 32) * 4; }

Bytes encodeBmp32Premultiplied(const Canvas& image) {
    const int w = image.width(), h = image.height();
    const uint32_t size = rowBytes(w, 32) * h;
    Bytes b;
    putFileHeader(b, 14 + 40 + size, 14 + 40);
    putInfoHeader(b, w, h, 32, size, 0);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Rgba8 p = image.premultiplied8(x, y);
            b.insert(b.end(), {p.b, p.g, p.r, p.a});
        }
    return b;
}

Bytes encodeBmp24(const Canvas& image, Color background) {
    const int w = image.width(), h = image.height();
    const uint32_t stride = rowBytes(w, 24);
    const uint32_t size = stride * h;
    Bytes b;
    putFileHeader(b, 14 + 40 + size, 14 + 40);
    putInfoHeader(b, w, h, 24, size, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Color c = image.pixel(x, y);
            const Color flat = mix(background, c, c.a);
            b.insert(b.end(), {toByte(flat.b), toByte(flat.g), toByte(flat.r)});
        }
        for (uint32_t pad = w * 3; pad < stride; ++pad) b.push_back(0);
    }
    return b;
}

Bytes encodeBmp4(int width, int height, const std::vector<uint8_t>& indices, const std::vector<Rgba8>& palette) {
    const uint32_t stride = rowBytes(width, 4);
    const uint32_t size = stride * height;
    Bytes b;
    putFileHeader(b, 14 + 40 + 64 + size, 14 + 40 + 64);
    putInfoHeader(b, width, height, 4, size, 16);
    for (int i = 0; i < 16; ++i) {
        const Rgba8 c = i < static_cast<int>(palette.size()) ? palette[i] : Rgba8{};
        b.insert(b.end(), {c.b, c.g, c.r, 0});
    }
    for (int y = height - 1; y >= 0; --y) {
        Bytes row(stride, 0);
        for (int x = 0; x < width; ++x) {
            const uint8_t v = indices[static_cast<size_t>(y) * width + x] & 0x0F;
            row[x / 2] |= (x % 2 == 0) ? static_cast<uint8_t>(v << 4) : v;
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

// One icon image as stored in the file: BITMAPINFOHEADER with the doubled
// height, the 32-bit colour rows (straight alpha), then the 1-bit AND mask,
// set where the image is fully transparent, for systems that ignore alpha.
static Bytes iconImage(const Canvas& image) {
    const int w = image.width(), h = image.height();
    const uint32_t maskStride = rowBytes(w, 1);
    const uint32_t size = rowBytes(w, 32) * h + maskStride * h;
    Bytes b;
    putInfoHeader(b, w, 2 * h, 32, size, 0);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Rgba8 p = image.straight8(x, y);
            b.insert(b.end(), {p.b, p.g, p.r, p.a});
        }
    for (int y = h - 1; y >= 0; --y) {
        Bytes row(maskStride, 0);
        for (int x = 0; x < w; ++x)
            if (image.straight8(x, y).a == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

Bytes encodeIco(const std::vector<const Canvas*>& images) {
    Bytes b;
    put16(b, 0);
    put16(b, 1);  // icon
    put16(b, static_cast<uint32_t>(images.size()));
    std::vector<Bytes> bodies;
    for (const Canvas* c : images) bodies.push_back(iconImage(*c));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int w = images[i]->width(), h = images[i]->height();
        b.push_back(static_cast<uint8_t>(w >= 256 ? 0 : w));
        b.push_back(static_cast<uint8_t>(h >= 256 ? 0 : h));
        b.push_back(0);  // no palette
        b.push_back(0);
        put16(b, 1);   // planes
        put16(b, 32);  // bits per pixel
        put32(b, static_cast<uint32_t>(bodies[i].size()));
        put32(b, offset);
        offset += static_cast<uint32_t>(bodies[i].size());
    }
    for (const Bytes& body : bodies) b.insert(b.end(), body.begin(), body.end());
    return b;
}

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

static void putChunk(Bytes& png, const char* type, const Bytes& data) {
    put32be(png, static_cast<uint32_t>(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    put32be(png, crc32(typed.data(), typed.size()));
}

Bytes encodePng(const Canvas& image) {
    const int w = image.width(), h = image.height();
    Bytes raw;
    raw.reserve(static_cast<size_t>(w * 4 + 1) * h);
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < w; ++x) {
            const Rgba8 p = image.straight8(x, y);
            raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
        }
    }
    Bytes z{0x78, 0x01};
    for (size_t pos = 0; pos < raw.size() || pos == 0;) {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + n >= raw.size();
        z.push_back(last ? 1 : 0);
        put16(z, static_cast<uint32_t>(n));
        put16(z, static_cast<uint32_t>(~n & 0xFFFF));
        z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
        if (last) break;
    }
    uint32_t s1 = 1, s2 = 0;
    for (uint8_t v : raw) {
        s1 = (s1 + v) % 65521;
        s2 = (s2 + s1) % 65521;
    }
    put32be(z, (s2 << 16) | s1);

    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    put32be(ihdr, static_cast<uint32_t>(w));
    put32be(ihdr, static_cast<uint32_t>(h));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, deflate, no filter, no interlace
    putChunk(png, "IHDR", ihdr);
    putChunk(png, "IDAT", z);
    putChunk(png, "IEND", {});
    return png;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
