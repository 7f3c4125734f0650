#include "text/tag_line.h"

#include "text/utf.h"

namespace trallio {

namespace {

// C0 and C1 controls, DEL, and the Unicode line and paragraph separators.
bool IsLeftOut(char32_t code) {
    return code < 0x20 || (code >= 0x7F && code < 0xA0) || code == 0x2028 || code == 0x2029;
}

// The text as shown: its characters that are not left out, from the first to the last that is
// not a blank.
struct Shown {
    const char* text;
    size_t begin;  // byte offset of the first shown character
    size_t end;    // byte offset just past the last shown character; begin == end: nothing shown
};

Shown FindShown(const char* text, size_t length) {
    Shown shown{text, 0, 0};
    bool found = false;
    size_t at = 0;
    while (at < length) {
        size_t used;
        const char32_t code = DecodeUtf8(text + at, length - at, used);
        if (!IsLeftOut(code) && code != ' ') {
            if (!found) {
                shown.begin = at;
                found = true;
            }
            shown.end = at + used;
        }
        at += used;
    }
    return shown;
}

// Appends the shown characters; sets `full` at the first that does not fit and appends nothing
// after it.
size_t AppendShown(const Shown& shown, char* out, size_t size, size_t written, bool& full) {
    size_t at = shown.begin;
    while (!full && at < shown.end) {
        size_t used;
        const char32_t code = DecodeUtf8(shown.text + at, shown.end - at, used);
        at += used;
        if (IsLeftOut(code)) {
            continue;
        }
        const size_t next = PutUtf8(code, out, size, written);
        full = next == written;
        written = next;
    }
    return written;
}

}  // namespace

size_t FormatTagLine(const char* artist, size_t artistLength, const char* title, size_t titleLength, char* out,
                     size_t size) {
    out[0] = 0;
    const Shown shownTitle = FindShown(title, titleLength);
    if (shownTitle.begin == shownTitle.end) {
        return 0;
    }
    const Shown shownArtist = FindShown(artist, artistLength);
    const Shown separator{" - ", 0, 3};
    size_t written = 0;
    bool full = false;
    if (shownArtist.begin != shownArtist.end) {
        written = AppendShown(shownArtist, out, size, written, full);
        // The separator only with room for it and a character of the title after it: an artist
        // that fills the line ends it.
        full = full || written + separator.end + 1 >= size;
        written = AppendShown(separator, out, size, written, full);
    }
    written = AppendShown(shownTitle, out, size, written, full);
    out[written] = 0;
    return written;
}

}  // namespace trallio
