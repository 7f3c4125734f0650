// A loudness gain as tag and settings texts write it: "-7.85 dB", "+3,5 dB", "6", " -12.00 DB ".
#pragma once

#include <cstddef>

namespace trallio {

// Reads a gain in decibels: blanks, an optional sign ("+", "-" or the minus sign U+2212 in UTF-8),
// digits with at most one decimal mark ("." or ","), an optional "dB" in any case after optional
// blanks, and blanks. Returns false for anything else and for a value outside -`limit`..`limit`;
// `decibels` is then left as it was.
bool ParseGainText(const char* text, double limit, double* decibels);

// Writes a gain as the station checker shows it, rounded to hundredths without trailing zeros:
// "-7 dB", "+3.5 dB", "-12.25 dB", "0 dB". `out` holds at least kGainTextOut bytes.
constexpr size_t kGainTextOut = 24;
void FormatGainText(double decibels, char* out);

}  // namespace trallio
