// The contest's band: 10 metres, 28.000 to 29.700 MHz, both edges included.
// Only spots inside it offer a multiplier to work: they alone mark the grid,
// sound the needed-spot prompt and are tuned from the grid.
#pragma once

namespace tenlog::spots {

// Frequencies travel as single-precision MHz; the edges are compared in the
// same precision, so a spot on 29700.0 kHz is inside and one on 29700.1 kHz
// is not.
inline constexpr float kTenMetresLowMhz = 28.000f;
inline constexpr float kTenMetresHighMhz = 29.700f;

constexpr bool isOnTenMetres(float mhz)
{
    return mhz >= kTenMetresLowMhz && mhz <= kTenMetresHighMhz;
}

} // namespace tenlog::spots
