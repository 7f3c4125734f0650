// Small text formatting without the C library's printf family, for the wheel's two lines and the
// media commands: the per-frame path formats a few short texts every frame, and these cost a small
// fraction of a printf call.
#pragma once

#include <cstddef>
#include <cstdint>

namespace trallio {

// Writes `value` in decimal (no leading zeros or blanks, a minus sign only when negative) and a
// terminator into `out`, which holds at least kDecimalSize bytes. Returns the number of digits
// and sign written.
constexpr size_t kDecimalSize = 12;
size_t FormatDecimal(int32_t value, char* out);

// Appends `text` at `length` in a buffer of `size` bytes, cutting what does not fit before the
// last byte; the buffer stays terminated. Returns the new length.
size_t AppendBounded(char* buffer, size_t size, size_t length, const char* text);

// The same with the cut chosen by `fit`, which gives how many bytes of `text` to keep within a
// limit (AppendBounded's is the text's length up to the limit).
size_t AppendFitted(char* buffer, size_t size, size_t length, const char* text,
                    size_t (*fit)(const char* text, size_t limit));

}  // namespace trallio
