// Gain texts as a file's tags or the settings file may carry them: any bytes. A text read as a
// gain lies within the limit, is read the same again when written back rounded to hundredths, and
// levels every volume step to a level from 0 to 1000; a text not read leaves the value untouched.
#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "audio/loudness.h"
#include "text/gain_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);  // cut at a zero byte, as a C text is
    double gain = 1234;
    if (!trallio::ParseGainText(text.c_str(), trallio::kLargestTagGain, &gain)) {
        FUZZ_CHECK(gain == 1234, "a text that is no gain leaves the value as it was");
        return 0;
    }
    FUZZ_CHECK(std::fabs(gain) <= trallio::kLargestTagGain, "a gain within the limit");
    char shown[trallio::kGainTextOut];
    trallio::FormatGainText(gain, shown);
    double again = 0;
    FUZZ_CHECK(trallio::ParseGainText(shown, trallio::kLargestTagGain, &again), "the written gain reads again");
    FUZZ_CHECK(std::fabs(again - gain) <= 0.005 + 1e-9, "written to the nearest hundredth");
    for (int32_t level : {0, 1, 90, 500}) {
        const int32_t levelled = trallio::LevelledVolume(level, gain);
        FUZZ_CHECK(levelled >= 0 && levelled <= trallio::kLoudestTrackVolume, "a level the service takes");
        FUZZ_CHECK(level != 0 || levelled == 0, "silence stays silent");
    }
    return 0;
}
