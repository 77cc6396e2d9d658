#pragma once
// Perlin's gradient lattice noise in one to four dimensions on a 4096-point lattice, and the
// fractal sums built on it (fBm, multifractal, hetero terrain, hybrid and ridged multifractal).
// The lattice tables are drawn from the program's random stream, so a seed fixes the field.

#include <cstdint>
#include <span>
#include <vector>

namespace korvel {

class RandomStream;

// Perlin's bias: t^(ln b / ln 0.5), so that Bias(0.5, b) = b.
double Bias(double t, double b);

class NoiseBasis {
public:
    static constexpr int32_t B = 4096;
    // Octave counts above this count as this: no terrain needs more, and the weights table and
    // the loops must stay bounded whatever a file or an expression asks for.
    static constexpr double MaxOctaves = 1000.0;

    explicit NoiseBasis(RandomStream& random);

    // The next noise call redraws the tables from the stream's state at that moment.
    void NoiseInvalidate() { Stale = true; }

    // Roughly in [-1, 1]; exactly 0 at every lattice point.
    double Noise1(double x);
    double Noise2(double x, double y);
    double Noise3(double x, double y, double z);
    double Noise4(double x, double y, double z, double w);

    // Octaves may be fractional. fBm and multifractal run floor(octaves) whole octaves and a
    // partial one; hetero, hybrid and ridged loop "for i = 1 while i < octaves", so a fraction
    // makes one more whole octave, then hetero and hybrid add a partial one after it.
    double Fbm(double x, double y, double z, double H, double lacunarity, double octaves);
    double Multifractal(double x, double y, double z, double H, double lacunarity, double octaves,
                        double offset, double gain);
    double HeteroTerrain(double x, double y, double z, double H, double lacunarity, double octaves,
                         double offset);
    double HybridMultifractal(double x, double y, double z, double H, double lacunarity,
                              double octaves, double offset);
    double RidgedMultifractal(double x, double y, double z, double H, double lacunarity,
                              double octaves, double offset, double gain);

    // Drops the spectral weights of hetero, hybrid and ridged, called when a generation ends.
    // Until then they keep the H and lacunarity of the call that built them; only a call with
    // more octaves than they cover rebuilds them, from its own values. fBm and multifractal
    // always weigh by their own H and lacunarity.
    void FractalWeightsReset();

    // The tables as the noise sees them (rebuilt first when stale): the permutation and the
    // gradients of `dims` components each, 2B + 2 entries with the first B + 2 repeated.
    std::span<const int32_t> Permutation();
    std::span<const double> Gradients(int32_t dims);

private:
    void Ready() {
        if (Stale)
            Rebuild();
    }
    void Rebuild();
    double Lattice3(double x, double y, double z) const;
    // weights[i] = lacunarity^(-i*H) for every index a sum of `octaves` reads: the shared cache
    // of hetero, hybrid and ridged, and the one of fBm and multifractal that follows every call.
    const double* WeightsFor(double H, double lacunarity, double octaves);
    const double* OwnWeightsFor(double H, double lacunarity, double octaves);

    RandomStream& Random;
    bool Stale = true;
    std::vector<int32_t> P;
    std::vector<double> G1, G2, G3, G4;

    std::vector<double> Weights;
    bool WeightsStale = true;
    std::vector<double> OwnWeights;
    double OwnWeightsH = 0.0;
    double OwnWeightsLacunarity = 0.0;
};

} // namespace korvel
