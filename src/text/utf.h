// UTF-8 and UTF-16 conversions into caller-owned buffers, without heap or locale. Every output is
// terminated and holds only whole characters: what does not fit is left off at a character
// boundary. Bytes that are not well-formed UTF-8 (overlong forms, surrogate codes, codes above
// U+10FFFF, cut sequences) and 16-bit units that are unpaired surrogates are each read as U+FFFD.
#pragma once

#include <cstddef>

namespace trallio {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Reads one character at `text` (at most `length` bytes, length > 0) and returns it; `used` is set
// to the bytes it took (one for a byte that starts no well-formed sequence).
char32_t DecodeUtf8(const char* text, size_t length, size_t& used);

// Writes `code` in UTF-8 at out[length] if it and a terminator fit in `size`; returns the new
// length, or `length` unchanged when it does not fit. The terminator is not written.
size_t PutUtf8(char32_t code, char* out, size_t size, size_t length);

// UTF-8 into UTF-16 (characters above U+FFFF as surrogate pairs). `units` > 0. Returns the units
// written, the terminator not counted.
size_t Utf8ToUtf16(const char* text, size_t length, char16_t* out, size_t units);

// UTF-16 into UTF-8. `size` > 0. Returns the bytes written, the terminator not counted.
size_t Utf16ToUtf8(const char16_t* text, size_t length, char* out, size_t size);

// UTF-8 into well-formed UTF-8. `size` > 0. Returns the bytes written, the terminator not counted.
size_t CleanUtf8(const char* text, size_t length, char* out, size_t size);

// The longest prefix of `text` (a terminated text) of at most `limit` bytes that ends between
// characters: never inside a well-formed multi-byte sequence.
size_t Utf8CutLength(const char* text, size_t limit);

// The same for the `length` bytes at `text`, which need no terminator.
size_t Utf8PrefixLength(const char* text, size_t length, size_t limit);

// Appends `text` at `length` in a buffer of `size` bytes like AppendBounded, but cuts only between
// characters. Returns the new length.
size_t AppendUtf8Bounded(char* buffer, size_t size, size_t length, const char* text);

}  // namespace trallio
