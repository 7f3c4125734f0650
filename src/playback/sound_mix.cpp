#include "playback/sound_mix.h"

#include "game/game_window.h"
#include "game/native_call.h"
#include "game/natives.h"
#include "platform/win32.h"
#include "audio/loudness.h"
#include "playback/radio_state.h"

namespace trallio {

namespace {

constexpr uint32_t kDuckReleaseMilliseconds = 1000;

bool IsTrackPlaying() {
    return radio.radioOn && !radio.paused && radio.trackActive && radio.currentTrack != emptyText;
}

// The conversation question first; the player's own speech is asked only when none plays.
bool IsSomeoneSpeaking(uint32_t player) {
    return CallNative32(native::kIsAnyConversationPlaying, 0) != 0 ||
           CallNative32(native::kIsAnySpeechPlaying, player) != 0;
}

}  // namespace

int32_t VolumeInForce() {
    if (!radio.mix.dialogueDucked) {
        return radio.volume;
    }
    return radio.volume * radio.config.duckPercent / 100;
}

int32_t TrackVolume() {
    const int32_t level = VolumeInForce();
    return radio.config.loudness == Loudness::kOff ? level : LevelledVolume(level, radio.levelling.trackGain);
}

bool UpdateDialogueDucking(uint32_t player) {
    if (radio.config.duckPercent < 0 || !IsTrackPlaying()) {
        return false;
    }
    const int32_t before = VolumeInForce();
    if (IsSomeoneSpeaking(player)) {
        radio.mix.dialogueDucked = true;
        radio.mix.duckReleasing = false;
    } else if (radio.mix.dialogueDucked) {
        // The clock is read only while a lowered level waits to rise again.
        const uint32_t now = static_cast<uint32_t>(GetTickCount());
        if (!radio.mix.duckReleasing) {
            radio.mix.duckReleasing = true;
            radio.mix.duckReleaseStart = now;
        } else if (now - radio.mix.duckReleaseStart >= kDuckReleaseMilliseconds) {
            radio.mix.dialogueDucked = false;
            radio.mix.duckReleasing = false;
        }
    }
    return VolumeInForce() != before;
}

bool IsGameOutOfPlay() {
    if (CallNative32(native::kIsPauseMenuActive) != 0) {
        return true;
    }
    const HWND foreground = GetForegroundWindow();
    const HWND game = FindGameWindow();
    return game != nullptr && foreground != game;
}

}  // namespace trallio
