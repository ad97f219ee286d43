#include "image/lab_colour.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tessera {
namespace {

// D65 reference white.
constexpr double whiteX = 0.95047;
constexpr double whiteY = 1.0;
constexpr double whiteZ = 1.08883;
constexpr double delta = 6.0 / 29.0;

double linearFromEncoded(double value) {
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double encodedFromLinear(double value) {
    return value <= 0.0031308 ? value * 12.92 : 1.055 * std::pow(value, 1.0 / 2.4) - 0.055;
}

// Every pixel goes through this conversion, so the 256 possible channel values are
// linearised once.
const std::array<double, 256>& linearTable() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> values{};
        for (int i = 0; i < 256; ++i) {
            values[i] = linearFromEncoded(i / 255.0);
        }
        return values;
    }();
    return table;
}

double labCurve(double t) {
    return t > delta * delta * delta ? std::cbrt(t) : t / (3 * delta * delta) + 4.0 / 29.0;
}

double inverseLabCurve(double t) {
    return t > delta ? t * t * t : 3 * delta * delta * (t - 4.0 / 29.0);
}

std::uint8_t toByte(double linear) {
    const double encoded = std::clamp(encodedFromLinear(std::max(linear, 0.0)), 0.0, 1.0);
    return static_cast<std::uint8_t>(std::lround(encoded * 255));
}

} // namespace

Lab labFromRgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const auto& linear = linearTable();
    const double r = linear[red];
    const double g = linear[green];
    const double b = linear[blue];
    const double x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
    const double fx = labCurve(x / whiteX);
    const double fy = labCurve(y / whiteY);
    const double fz = labCurve(z / whiteZ);
    return Lab{116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

void rgbFromLab(const Lab& colour, std::uint8_t rgb[3]) {
    const double fy = (colour.l + 16) / 116;
    const double x = whiteX * inverseLabCurve(fy + colour.a / 500);
    const double y = whiteY * inverseLabCurve(fy);
    const double z = whiteZ * inverseLabCurve(fy - colour.b / 200);
    rgb[0] = toByte(3.2404542 * x - 1.5371385 * y - 0.4985314 * z);
    rgb[1] = toByte(-0.9692660 * x + 1.8760108 * y + 0.0415560 * z);
    rgb[2] = toByte(0.0556434 * x - 0.2040259 * y + 1.0572252 * z);
}

} // namespace tessera
