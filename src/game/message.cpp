#include "game/message.h"

#include "game/native_call.h"
#include "game/natives.h"

namespace trallio {

void ShowMessage(const char* text) {
    const GameValue message{CallNative64(native::kCreateVarString, 10, "LITERAL_STRING", text)};
    CallNative(native::kMessageLogAddText, message);
    CallNative(native::kMessageLogShow);
    CallNative(native::kMessageLogClear);
}

}  // namespace trallio
