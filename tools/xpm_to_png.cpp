// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: turns the icon's pixel art (res/kelvane_icon.xpm) into a square PNG of any size,
// for the hicolor icon theme. Each output pixel is the average of the art it covers (an area
// average), so whole multiples of the art's size stay crisp pixel art (nearest neighbour) and
// smaller or fractional sizes keep thin lines as softened lines instead of dropping them.
// Usage: kelvane-xpm-to-png INPUT.xpm SIZE OUTPUT.png
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/png_file.h"

namespace {

struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;
};

struct Art {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;
};

bool ReadXpm(const std::string& path, Art& art, std::string& error) {
    std::ifstream file(path);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    // The strings of the XPM array, in order: header, colours, rows.
    std::vector<std::string> strings;
    std::string line;
    while (std::getline(file, line)) {
        const auto open = line.find('"');
        if (open == std::string::npos) continue;
        const auto close = line.find('"', open + 1);
        if (close == std::string::npos) continue;
        strings.push_back(line.substr(open + 1, close - open - 1));
    }
    if (strings.empty()) {
        error = path + " holds no XPM strings";
        return false;
    }
    int colours = 0, perPixel = 0;
    std::istringstream header(strings[0]);
    header >> art.width >> art.height >> colours >> perPixel;
    if (!header || perPixel != 1 || art.width <= 0 || art.height <= 0 ||
        strings.size() < static_cast<std::size_t>(1 + colours + art.height)) {
        error = path + ": unsupported XPM header '" + strings[0] + "'";
        return false;
    }
    std::map<char, Rgba> palette;
    for (int i = 1; i <= colours; ++i) {
        const std::string& entry = strings[static_cast<std::size_t>(i)];
        const auto hash = entry.find("c #");
        Rgba colour;  // "None" stays transparent
        if (hash != std::string::npos && entry.size() >= hash + 9) {
            const unsigned long value = std::stoul(entry.substr(hash + 3, 6), nullptr, 16);
            colour = {static_cast<double>((value >> 16) & 0xFF),
                      static_cast<double>((value >> 8) & 0xFF), static_cast<double>(value & 0xFF),
                      255.0};
        }
        palette[entry[0]] = colour;
    }
    for (int y = 0; y < art.height; ++y) {
        const std::string& row = strings[static_cast<std::size_t>(1 + colours + y)];
        if (static_cast<int>(row.size()) < art.width) {
            error = path + ": row " + std::to_string(y) + " is too short";
            return false;
        }
        for (int x = 0; x < art.width; ++x)
            art.pixels.push_back(palette[row[static_cast<std::size_t>(x)]]);
    }
    return true;
}

// The area average of the art under each output pixel, colours weighted by their opacity.
std::vector<unsigned char> Resample(const Art& art, int size) {
    std::vector<unsigned char> rgba;
    const double sx = static_cast<double>(art.width) / size;
    const double sy = static_cast<double>(art.height) / size;
    for (int oy = 0; oy < size; ++oy) {
        for (int ox = 0; ox < size; ++ox) {
            Rgba sum;
            double area = 0;
            const double x0 = ox * sx, x1 = (ox + 1) * sx, y0 = oy * sy, y1 = (oy + 1) * sy;
            for (int y = static_cast<int>(std::floor(y0)); y < static_cast<int>(std::ceil(y1));
                 ++y) {
                const double h = std::min<double>(y + 1, y1) - std::max<double>(y, y0);
                for (int x = static_cast<int>(std::floor(x0)); x < static_cast<int>(std::ceil(x1));
                     ++x) {
                    const double w = (std::min<double>(x + 1, x1) - std::max<double>(x, x0)) * h;
                    const Rgba& p = art.pixels[static_cast<std::size_t>(y * art.width + x)];
                    sum.r += p.r * p.a * w;
                    sum.g += p.g * p.a * w;
                    sum.b += p.b * p.a * w;
                    sum.a += p.a * w;
                    area += w;
                }
            }
            const double alpha = sum.a / area;
            const auto channel = [&](double weighted) {
                const double value = sum.a > 0 ? weighted / sum.a : 0;
                return static_cast<unsigned char>(std::lround(std::clamp(value, 0.0, 255.0)));
            };
            rgba.push_back(channel(sum.r));
            rgba.push_back(channel(sum.g));
            rgba.push_back(channel(sum.b));
            rgba.push_back(static_cast<unsigned char>(std::lround(std::clamp(alpha, 0.0, 255.0))));
        }
    }
    return rgba;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: kelvane-xpm-to-png INPUT.xpm SIZE OUTPUT.png\n";
        return 2;
    }
    const int size = std::atoi(argv[2]);
    if (size < 1 || size > 1024) {
        std::cerr << "kelvane-xpm-to-png: SIZE must be 1 to 1024\n";
        return 2;
    }
    Art art;
    std::string error;
    if (!ReadXpm(argv[1], art, error)) {
        std::cerr << "kelvane-xpm-to-png: " << error << '\n';
        return 1;
    }
    if (!kelvane::WritePngFile(argv[3], size, size, kelvane::PngPixels::Rgba,
                               Resample(art, size))) {
        std::cerr << "kelvane-xpm-to-png: cannot write " << argv[3] << '\n';
        return 1;
    }
    return 0;
}
