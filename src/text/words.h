// The small word rules shared by the settings step, the play order and the station checker: ASCII
// letters in either case, and the on/off value.
#pragma once

namespace trallio {

// An ASCII capital letter as its small letter; every other byte as it is.
inline char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `value` equals `word` with ASCII letters in any case.
bool EqualsIgnoringCase(const char* value, const char* word);

// The rule of every on/off setting: the whole text is "True" or "true".
bool IsTrueText(const char* value);

}  // namespace trallio
