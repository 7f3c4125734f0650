#include "text/words.h"

#include <cstring>

namespace trallio {

bool EqualsIgnoringCase(const char* value, const char* word) {
    for (; *value != 0 && *word != 0; ++value, ++word) {
        if (LowerAscii(*value) != LowerAscii(*word)) {
            return false;
        }
    }
    return *value == *word;
}

bool IsTrueText(const char* value) {
    return std::strcmp(value, "True") == 0 || std::strcmp(value, "true") == 0;
}

}  // namespace trallio
