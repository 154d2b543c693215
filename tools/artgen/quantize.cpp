// Median cut with variance-optimal splits and k-means refinement, over a colour histogram.
#include "quantize.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace art {

Image IndexedImage::ToImage() const {
    Image out(width, height, Rgb{0, 0, 0});
    for (size_t i = 0; i < indices.size(); ++i)
        out.pixels[i] = palette[indices[i]];
    return out;
}

namespace {

constexpr int kPaletteSize = 256;
constexpr int kRefineRounds = 12;

uint32_t Pack(Rgb c) {
    return (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b;
}

struct Bin {
    std::array<int, 3> c; // r, g, b
    uint32_t count;
};

// The distinct colours of the picture with their pixel counts, in packed-colour order.
std::vector<Bin> Histogram(const Image &image) {
    std::vector<uint32_t> packed;
    packed.reserve(image.pixels.size());
    for (Rgb p : image.pixels)
        packed.push_back(Pack(p));
    std::sort(packed.begin(), packed.end());
    std::vector<Bin> bins;
    for (size_t i = 0; i < packed.size();) {
        size_t j = i;
        while (j < packed.size() && packed[j] == packed[i])
            ++j;
        uint32_t v = packed[i];
        bins.push_back(Bin{{int(v >> 16), int((v >> 8) & 0xFF), int(v & 0xFF)}, uint32_t(j - i)});
        i = j;
    }
    return bins;
}

struct Box {
    size_t begin, end; // range of bins
    double error;      // weighted squared error around the box's mean
};

double BoxError(const std::vector<Bin> &bins, size_t begin, size_t end) {
    double n = 0, s[3] = {0, 0, 0}, q = 0;
    for (size_t i = begin; i < end; ++i) {
        double w = bins[i].count;
        n += w;
        for (int k = 0; k < 3; ++k) {
            s[k] += w * bins[i].c[k];
            q += w * double(bins[i].c[k]) * bins[i].c[k];
        }
    }
    if (n == 0)
        return 0;
    return q - (s[0] * s[0] + s[1] * s[1] + s[2] * s[2]) / n;
}

// Splits a box along its widest-spread channel at the point that minimises the summed error
// of the two halves. Returns the split index, or begin when the box holds one colour.
size_t SplitBox(std::vector<Bin> &bins, const Box &box) {
    if (box.end - box.begin < 2)
        return box.begin;
    double n = 0, s[3] = {0, 0, 0}, q[3] = {0, 0, 0};
    for (size_t i = box.begin; i < box.end; ++i) {
        double w = bins[i].count;
        n += w;
        for (int k = 0; k < 3; ++k) {
            s[k] += w * bins[i].c[k];
            q[k] += w * double(bins[i].c[k]) * bins[i].c[k];
        }
    }
    int axis = 0;
    double best = -1;
    for (int k = 0; k < 3; ++k) {
        double var = q[k] - s[k] * s[k] / n;
        if (var > best) {
            best = var;
            axis = k;
        }
    }
    std::stable_sort(bins.begin() + long(box.begin), bins.begin() + long(box.end),
                     [axis](const Bin &a, const Bin &b) { return a.c[axis] < b.c[axis]; });

    // Prefix sums over the sorted range give each candidate split's error in constant time.
    double ln = 0, ls[3] = {0, 0, 0}, lq = 0;
    double tq = q[0] + q[1] + q[2];
    size_t split = box.begin;
    double bestError = std::numeric_limits<double>::max();
    for (size_t i = box.begin; i + 1 < box.end; ++i) {
        double w = bins[i].count;
        ln += w;
        for (int k = 0; k < 3; ++k) {
            ls[k] += w * bins[i].c[k];
            lq += w * double(bins[i].c[k]) * bins[i].c[k];
        }
        if (bins[i].c[axis] == bins[i + 1].c[axis])
            continue; // split only between different values of the axis
        double rn = n - ln;
        double rs[3] = {s[0] - ls[0], s[1] - ls[1], s[2] - ls[2]};
        double le = lq - (ls[0] * ls[0] + ls[1] * ls[1] + ls[2] * ls[2]) / ln;
        double re = (tq - lq) - (rs[0] * rs[0] + rs[1] * rs[1] + rs[2] * rs[2]) / rn;
        if (le + re < bestError) {
            bestError = le + re;
            split = i + 1;
        }
    }
    if (split == box.begin) // every colour has the same axis value: split by count instead
        split = box.begin + (box.end - box.begin) / 2;
    return split;
}

int Distance2(const std::array<int, 3> &a, const std::array<int, 3> &b) {
    int dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
    return dr * dr + dg * dg + db * db;
}

int Nearest(const std::vector<std::array<int, 3>> &palette, const std::array<int, 3> &c) {
    int best = 0, bestD = std::numeric_limits<int>::max();
    for (size_t i = 0; i < palette.size(); ++i) {
        int d = Distance2(palette[i], c);
        if (d < bestD) {
            bestD = d;
            best = int(i);
        }
    }
    return best;
}

std::vector<std::array<int, 3>> MedianCut(std::vector<Bin> bins) {
    std::vector<Box> boxes{Box{0, bins.size(), BoxError(bins, 0, bins.size())}};
    while (boxes.size() < kPaletteSize) {
        size_t pick = boxes.size();
        for (size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i].end - boxes[i].begin > 1 &&
                (pick == boxes.size() || boxes[i].error > boxes[pick].error))
                pick = i;
        if (pick == boxes.size())
            break;
        Box box = boxes[pick];
        size_t split = SplitBox(bins, box);
        boxes[pick] = Box{box.begin, split, BoxError(bins, box.begin, split)};
        boxes.push_back(Box{split, box.end, BoxError(bins, split, box.end)});
    }
    std::vector<std::array<int, 3>> palette;
    for (const Box &box : boxes) {
        double n = 0, s[3] = {0, 0, 0};
        for (size_t i = box.begin; i < box.end; ++i) {
            n += bins[i].count;
            for (int k = 0; k < 3; ++k)
                s[k] += double(bins[i].count) * bins[i].c[k];
        }
        palette.push_back(
            {int(std::lround(s[0] / n)), int(std::lround(s[1] / n)), int(std::lround(s[2] / n))});
    }
    return palette;
}

// Lloyd rounds over the histogram; then an entry whose cluster is mostly one colour takes
// that colour exactly (a flat face of the picture stays exactly its colour).
void Refine(const std::vector<Bin> &bins, std::vector<std::array<int, 3>> &palette) {
    std::vector<int> owner(bins.size());
    for (int round = 0; round <= kRefineRounds; ++round) {
        for (size_t i = 0; i < bins.size(); ++i)
            owner[i] = Nearest(palette, bins[i].c);
        if (round == kRefineRounds)
            break;
        std::vector<std::array<double, 4>> sums(palette.size(), {0, 0, 0, 0});
        for (size_t i = 0; i < bins.size(); ++i) {
            auto &s = sums[size_t(owner[i])];
            for (int k = 0; k < 3; ++k)
                s[size_t(k)] += double(bins[i].count) * bins[i].c[k];
            s[3] += bins[i].count;
        }
        for (size_t e = 0; e < palette.size(); ++e)
            if (sums[e][3] > 0)
                for (int k = 0; k < 3; ++k)
                    palette[e][size_t(k)] = int(std::lround(sums[e][size_t(k)] / sums[e][3]));
    }
    std::vector<double> weight(palette.size(), 0);
    std::vector<size_t> heaviest(palette.size(), bins.size());
    for (size_t i = 0; i < bins.size(); ++i) {
        size_t e = size_t(owner[i]);
        weight[e] += bins[i].count;
        if (heaviest[e] == bins.size() || bins[i].count > bins[heaviest[e]].count)
            heaviest[e] = i;
    }
    for (size_t e = 0; e < palette.size(); ++e)
        if (heaviest[e] != bins.size() && 2.0 * bins[heaviest[e]].count >= weight[e])
            palette[e] = bins[heaviest[e]].c;
}

} // namespace

IndexedImage QuantizeTo256(const Image &source) {
    std::vector<Bin> bins = Histogram(source);
    std::vector<std::array<int, 3>> palette;
    if (bins.size() <= kPaletteSize) {
        for (const Bin &b : bins)
            palette.push_back(b.c);
    } else {
        palette = MedianCut(bins);
        Refine(bins, palette);
    }

    // A stable order, darkest first, makes the table easy to read in a dump.
    std::sort(palette.begin(), palette.end(),
              [](const std::array<int, 3> &a, const std::array<int, 3> &b) {
                  int la = 299 * a[0] + 587 * a[1] + 114 * a[2];
                  int lb = 299 * b[0] + 587 * b[1] + 114 * b[2];
                  return la != lb ? la < lb : a < b;
              });
    palette.erase(std::unique(palette.begin(), palette.end()), palette.end());

    IndexedImage out;
    out.width = source.width;
    out.height = source.height;
    for (const auto &c : palette)
        out.palette.push_back(Rgb{uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2])});
    // Unused entries repeat the last colour, so the table always has 256 entries.
    while (out.palette.size() < kPaletteSize)
        out.palette.push_back(out.palette.back());

    std::unordered_map<uint32_t, uint8_t> cache;
    out.indices.reserve(source.pixels.size());
    for (Rgb p : source.pixels) {
        auto it = cache.find(Pack(p));
        if (it == cache.end())
            it = cache.emplace(Pack(p), uint8_t(Nearest(palette, {p.r, p.g, p.b}))).first;
        out.indices.push_back(it->second);
    }
    return out;
}

double MeanColourError(const Image &source, const IndexedImage &reduced) {
    double sum = 0;
    for (size_t i = 0; i < source.pixels.size(); ++i) {
        Rgb a = source.pixels[i], b = reduced.palette[reduced.indices[i]];
        double dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
        sum += std::sqrt(dr * dr + dg * dg + db * db);
    }
    return source.pixels.empty() ? 0 : sum / double(source.pixels.size());
}

} // namespace art
