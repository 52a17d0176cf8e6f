// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/png_file.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <vector>

namespace kelvane {

namespace {

void AppendBigEndian(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>((value >> shift) & 0xFF));
    }
}

// A chunk is its length, its type, its data and the CRC of type and data.
void AppendChunk(std::vector<unsigned char>& out, const char (&type)[5],
                 const std::vector<unsigned char>& data) {
    AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + typeStart, static_cast<uInt>(out.size() - typeStart));
    AppendBigEndian(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

bool WritePngFile(const std::string& path, int width, int height, PngPixels format,
                  std::span<const unsigned char> pixels) {
    const std::size_t pixelSize = format == PngPixels::Rgba ? 4 : 3;
    const std::size_t stride = static_cast<std::size_t>(width) * pixelSize;
    if (width <= 0 || height <= 0 || pixels.size() != stride * static_cast<std::size_t>(height)) {
        return false;
    }
    // Each scan line: filter type 0, then its pixels.
    std::vector<unsigned char> raw;
    raw.reserve(static_cast<std::size_t>(height) * (1 + stride));
    for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row) {
        raw.push_back(0);
        const auto line = pixels.subspan(row * stride, stride);
        raw.insert(raw.end(), line.begin(), line.end());
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        return false;
    }
    packed.resize(packedSize);

    std::vector<unsigned char> header;
    AppendBigEndian(header, static_cast<std::uint32_t>(width));
    AppendBigEndian(header, static_cast<std::uint32_t>(height));
    const unsigned char colourType = format == PngPixels::Rgba ? 6 : 2;
    header.insert(header.end(), {8, colourType, 0, 0, 0});  // 8 bits, deflate, no interlace

    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    AppendChunk(file, "IHDR", header);
    AppendChunk(file, "IDAT", packed);
    AppendChunk(file, "IEND", {});

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace kelvane
