#include "app/histogram_readout.h"

namespace korvel {

std::optional<BinReadout> ReadoutAt(const HistogramResult& histogram, int x, int width) {
    const auto count = static_cast<int64_t>(histogram.Bins.size());
    if (count == 0 || width <= 0 || x < 0 || x >= width)
        return std::nullopt;
    BinReadout out;
    out.Bin = static_cast<int32_t>(static_cast<int64_t>(x) * count / width);
    const double step = (histogram.Highest - histogram.Lowest) / static_cast<double>(count);
    out.Low = histogram.Lowest + out.Bin * step;
    out.High = histogram.Lowest + (out.Bin + 1) * step;
    out.Count = histogram.Bins[static_cast<size_t>(out.Bin)];
    int64_t upToBin = histogram.Below;
    int64_t total = histogram.Below + histogram.Above;
    for (int64_t i = 0; i < count; ++i) {
        total += histogram.Bins[static_cast<size_t>(i)];
        if (i <= out.Bin)
            upToBin += histogram.Bins[static_cast<size_t>(i)];
    }
    out.Percentile =
        total > 0 ? 100.0 * static_cast<double>(upToBin) / static_cast<double>(total) : 0.0;
    return out;
}

} // namespace korvel
