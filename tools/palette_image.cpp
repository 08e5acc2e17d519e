#include "palette_image.h"

#include <QHash>
#include <QImage>
#include <QList>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

constexpr int kPaletteSize = 256;

struct Colour {
    std::array<int, 3> channel; // red, green, blue
    std::int64_t pixels;
};

// A run of colours of one palette entry.
struct Box {
    std::vector<Colour>::iterator begin;
    std::vector<Colour>::iterator end;

    int Spread(int c) const {
        const auto [low, high] = std::minmax_element(
            begin, end, [c](const Colour& a, const Colour& b) { return a.channel[c] < b.channel[c]; });
        return high->channel[c] - low->channel[c];
    }
    int WidestChannel() const {
        int widest = 0;
        for (int c = 1; c < 3; ++c)
            if (Spread(c) > Spread(widest))
                widest = c;
        return widest;
    }
    // How much a split would gain: the widest spread, weighted by the pixels the box holds.
    double Weight() const {
        std::int64_t pixels = 0;
        for (auto colour = begin; colour != end; ++colour)
            pixels += colour->pixels;
        return static_cast<double>(Spread(WidestChannel())) * static_cast<double>(pixels);
    }
    // Sorted along the widest channel, cut where half of the pixels lie on either side.
    std::pair<Box, Box> Split() const {
        const int c = WidestChannel();
        std::sort(begin, end, [c](const Colour& a, const Colour& b) { return a.channel[c] < b.channel[c]; });
        std::int64_t total = 0;
        for (auto colour = begin; colour != end; ++colour)
            total += colour->pixels;
        std::int64_t below = 0;
        auto cut = begin;
        while (cut + 1 < end && 2 * (below + cut->pixels) <= total)
            below += (cut++)->pixels;
        if (cut == begin)
            ++cut;
        return {Box{begin, cut}, Box{cut, end}};
    }
    QRgb Mean() const {
        std::array<std::int64_t, 3> sum{};
        std::int64_t pixels = 0;
        for (auto colour = begin; colour != end; ++colour) {
            for (int c = 0; c < 3; ++c)
                sum[c] += colour->channel[c] * colour->pixels;
            pixels += colour->pixels;
        }
        const auto mean = [&](int c) { return static_cast<int>((sum[c] + pixels / 2) / pixels); };
        return qRgb(mean(0), mean(1), mean(2));
    }
};

QList<QRgb> MedianCutPalette(std::vector<Colour>& colours) {
    std::vector<Box> boxes{Box{colours.begin(), colours.end()}};
    while (static_cast<int>(boxes.size()) < kPaletteSize) {
        const auto widest = std::max_element(
            boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.Weight() < b.Weight(); });
        if (widest->Weight() == 0)
            break;
        const auto [low, high] = widest->Split();
        *widest = low;
        boxes.push_back(high);
    }
    QList<QRgb> palette;
    for (const Box& box : boxes)
        palette.push_back(box.Mean());
    return palette;
}

} // namespace

QImage PaletteImage(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, std::int64_t> counts;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ++counts[line[x] | 0xFF000000u];
    }
    std::vector<Colour> colours;
    colours.reserve(static_cast<std::size_t>(counts.size()));
    for (auto entry = counts.cbegin(); entry != counts.cend(); ++entry)
        colours.push_back({{qRed(entry.key()), qGreen(entry.key()), qBlue(entry.key())}, entry.value()});
    // Nearest colour, no dithering: flat areas stay flat.
    return image.convertToFormat(QImage::Format_Indexed8, MedianCutPalette(colours), Qt::ThresholdDither);
}
