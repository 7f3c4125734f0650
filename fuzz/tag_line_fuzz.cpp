// Tag values as a file may carry them: any bytes, any length. Each input is split into an artist
// and a title and made into the now-playing line in a buffer of exactly its size, which must hold
// well-formed UTF-8 without control characters or line breaks, empty exactly when the title shows
// nothing, and unchanged when made into a line again.
//
// Input: one byte for the buffer's size (1..128, 64 when the byte is 0), one for where the artist
// ends (a share of the rest), then the bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "text/tag_line.h"

namespace {

// Well-formed UTF-8 read the plain way; `code` of each character goes to `visit`.
template <typename Visit>
bool WalkUtf8(const std::string& text, Visit visit) {
    size_t at = 0;
    while (at < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        size_t count = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        if (count == 0 || at + count > text.size()) {
            return false;
        }
        uint32_t code = count == 1 ? lead : lead & (0x7F >> count);
        for (size_t i = 1; i < count; ++i) {
            const unsigned char next = static_cast<unsigned char>(text[at + i]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = code << 6 | (next & 0x3F);
        }
        const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[count] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        visit(code);
        at += count;
    }
    return true;
}

bool IsControlOrBreak(uint32_t code) {
    return code < 0x20 || (code >= 0x7F && code < 0xA0) || code == 0x2028 || code == 0x2029;
}

std::string Line(const std::string& artist, const std::string& title, size_t size) {
    // Exactly `size` bytes of heap, so a write past the end trips the address sanitizer.
    std::unique_ptr<char[]> out(new char[size]);
    const size_t length = trallio::FormatTagLine(artist.data(), artist.size(), title.data(), title.size(), out.get(), size);
    FUZZ_CHECK(length < size, "the line fits its buffer");
    FUZZ_CHECK(std::strlen(out.get()) == length, "the length returned is the terminated length");
    return std::string(out.get(), length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const size_t bufferSize = data[0] == 0 ? 64 : 1 + data[0] % 128;
    const std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const size_t split = rest.size() * data[1] / 255;
    const std::string artist = rest.substr(0, split);
    const std::string title = rest.substr(split);

    const std::string line = Line(artist, title, bufferSize);
    bool clean = true;
    FUZZ_CHECK(WalkUtf8(line, [&](uint32_t code) { clean = clean && !IsControlOrBreak(code); }),
               "the line is well-formed UTF-8");
    FUZZ_CHECK(clean, "no control character or line break");
    FUZZ_CHECK(line.empty() || line.front() != ' ', "no blank at the start");

    // The line is empty exactly when the title alone shows nothing (given room for a character).
    const bool titleShows = !Line("", title, 8).empty();
    if (bufferSize >= 5) {
        FUZZ_CHECK(line.empty() == !titleShows, "empty exactly without a title");
    }

    // A line made into a line again is the same, but for blanks a cut may leave at its end.
    std::string trimmed = line;
    while (!trimmed.empty() && trimmed.back() == ' ') {
        trimmed.pop_back();
    }
    FUZZ_CHECK(Line("", line, bufferSize) == trimmed, "a line made again is the same");
    return 0;
}
