#include "playback/track_title.h"

#include "platform/track_tags.h"
#include "playback/radio_state.h"
#include "text/tag_line.h"
#include "text/text_format.h"
#include "text/words.h"

namespace trallio {

namespace {

// Room for a station text, the separator and the longest entry name.
char trackPath[kSettingsTextSize + 1 + sizeof(dirent::d_name)];
TrackTags trackTags;

}  // namespace

bool ParseTitlesFromTags(const char* value) {
    return EqualsIgnoringCase(value, "tags");
}

void ReadTrackTitle() {
    radio.trackTitle[0] = 0;
    size_t length = AppendBounded(trackPath, sizeof trackPath, 0, radio.currentFolder);
    length = AppendBounded(trackPath, sizeof trackPath, length, "\\");
    AppendBounded(trackPath, sizeof trackPath, length, radio.currentTrack);
    if (ReadTrackTags(trackPath, radio.config.unicodeNames, trackTags)) {
        FormatTagLine(trackTags.artist, trackTags.artistLength, trackTags.title, trackTags.titleLength,
                      radio.trackTitle, sizeof radio.trackTitle);
    }
}

const char* ShownTrackLine() {
    return radio.config.titlesFromTags && radio.trackTitle[0] != 0 ? radio.trackTitle : radio.currentTrack;
}

}  // namespace trallio
