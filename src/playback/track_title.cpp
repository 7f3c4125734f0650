#include "playback/track_title.h"

#include "audio/media_thread.h"
#include "platform/track_tags.h"
#include "audio/loudness.h"
#include "playback/radio_state.h"
#include "text/tag_line.h"
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
    radio.trackTitle[0] = 0;
    trackTags.withGains = radio.config.loudness != Loudness::kOff;
    if (ReadTrackTags(CurrentTrackPath(), radio.config.unicodeNames, trackTags)) {
        FormatTagLine(trackTags.artist, trackTags.artistLength, trackTags.title, trackTags.titleLength,
                      radio.trackTitle, sizeof radio.trackTitle);
    }
    // A file whose tags cannot be read has no gain texts: it plays at loudness_default.
    if (trackTags.withGains) {
        radio.levelling.trackGain = radio.config.loudnessDefault;
        radio.levelling.fromTag = FindTrackGain(radio.config.loudness, trackTags.trackGain, trackTags.albumGain,
                                                &radio.levelling.trackGain);
    }
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
