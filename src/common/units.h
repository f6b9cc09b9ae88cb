// Unit conversions shared by the main window (twips), the list control (pixels)
// and pictures (HIMETRIC). Pure integer arithmetic, rounded to the nearest unit.
#pragma once

namespace units {

constexpr int kTwipsPerInch = 1440;
constexpr int kHimetricPerInch = 2540;

// Rounds a / b to the nearest integer, halves away from zero; b must be positive.
constexpr long long RoundedDiv(long long a, long long b) {
    return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b);
}

constexpr int TwipsToPixels(int twips, int dpi) {
    return static_cast<int>(RoundedDiv(static_cast<long long>(twips) * dpi, kTwipsPerInch));
}

constexpr int PixelsToTwips(int pixels, int dpi) {
    return dpi > 0 ? static_cast<int>(RoundedDiv(static_cast<long long>(pixels) * kTwipsPerInch, dpi)) : 0;
}

constexpr int PixelsToHimetric(int pixels, int dpi) {
    return dpi > 0 ? static_cast<int>(RoundedDiv(static_cast<long long>(pixels) * kHimetricPerInch, dpi)) : 0;
}

}  // namespace units
