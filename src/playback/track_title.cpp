#include "playback/track_title.h"

#include "audio/media_thread.h"
#include "audio/start_tags.h"
#include "playback/radio_state.h"
#include "text/text_format.h"
#include "text/utf.h"
#include "text/words.h"

namespace trallio {

namespace {

// Room for a station text, the separator and the longest entry name.
char trackPath[kSettingsTextSize + 1 + sizeof(dirent::d_name)];
TrackTags trackTags;
static_assert(sizeof trackPath <= kTagPathSize, "a track's path fits the media thread's slot");

}  // namespace

bool ParseTitlesFromTags(const char* value) {
    return EqualsIgnoringCase(value, "tags");
}

const char* CurrentTrackPath() {
    size_t length = AppendBounded(trackPath, sizeof trackPath, 0, radio.currentFolder);
    length = AppendBounded(trackPath, sizeof trackPath, length, "\\");
    AppendBounded(trackPath, sizeof trackPath, length, radio.currentTrack);
    return trackPath;
}

void ReadTrackTitle() {
    ReadStartTags(CurrentTrackPath(), radio.config.unicodeNames, radio.config.loudness, radio.config.loudnessDefault,
                  trackTags, radio.trackTitle, sizeof radio.trackTitle, radio.levelling);
}

const char* ShownTrackLine() {
    return radio.config.titlesFromTags && radio.trackTitle[0] != 0 ? radio.trackTitle : radio.currentTrack;
}

void FormatNowPlaying(char* out, size_t size) {
    // With Unicode names the texts are UTF-8 and are cut only between characters.
    size_t (*const append)(char*, size_t, size_t, const char*) =
        radio.config.unicodeNames ? AppendUtf8Bounded : AppendBounded;
    size_t length = append(out, size, 0, radio.currentFolder);
    length = append(out, size, length, "\n");
    if (ShownTrackLine() != radio.currentTrack) {
        // A title from the tags: UTF-8 whatever the names are.
        length = AppendUtf8Bounded(out, size, length, radio.trackTitle);
        AppendUtf8Bounded(out, size, length, "\n");
    } else {
        length = append(out, size, length, radio.currentTrack);
        append(out, size, length, "\n");
    }
}

}  // namespace trallio
