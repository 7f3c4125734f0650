#include "host/settings_lines.h"

#include "audio/loudness.h"
#include "playback/radio_state.h"
#include "text/gain_text.h"
#include "text/text_format.h"
#include "text/words.h"

namespace trallio {

namespace {

// The rows of the settings table whose text a line shows.
enum ConfigRow {
    kDuckDialogueRow = 2,
    kOrderRow = 4,
    kTitlesRow = 6,
    kControllerButtonRow = 8,
    kControllerHoldRow = 9,
    kLoudnessRow = 11,
    kLoudnessDefaultRow = 12,
};

void Add(SettingLines& lines, const char* text) {
    lines.length = AppendBounded(lines.text, lines.size, lines.length, text);
}

void AddNumber(SettingLines& lines, int32_t value) {
    char digits[kDecimalSize];
    FormatDecimal(value, digits);
    Add(lines, digits);
}

void AddOnOff(SettingLines& lines, const char* label, bool on) {
    Add(lines, label);
    Add(lines, on ? "on\n" : "off\n");
}

// The sound-mix pair shows when either is on or duck_dialogue has a value the radio cannot use.
bool DuckDialogueIsBad(const SettingsView& view) {
    return view.texts.text[kDuckDialogueRow][0] != 0 && radio.config.duckPercent < 0;
}

bool SoundMixShown(const SettingsView& view) {
    return radio.config.duckPercent >= 0 || radio.config.pauseInMenus || DuckDialogueIsBad(view);
}

// A control name is "INPUT_" (in any case) and at least one more byte.
bool ControllerButtonIsBad(const SettingsView& view) {
    const char* name = view.texts.text[kControllerButtonRow];
    const char prefix[] = "input_";
    for (int i = 0; prefix[i] != 0; ++i) {
        if (LowerAscii(name[i]) != prefix[i]) {
            return true;
        }
    }
    return name[sizeof prefix - 1] == 0;
}

bool ControllerHoldIsBad(const SettingsView& view) {
    return ParseHoldMilliseconds(view.texts.text[kControllerHoldRow]) < 0;
}

// The pad's lines show when controller is on or one of its values is one the radio cannot use.
bool ControllerShown(const SettingsView& view) {
    return radio.config.controller || ControllerButtonIsBad(view) || ControllerHoldIsBad(view);
}

}  // namespace

void DescribeMediaPlayerMode(const SettingsView&, SettingLines& lines) {
    AddOnOff(lines, "Radio on foot (media_player_mode): ", radio.mediaPlayerMode);
}

void DescribeUnicodeNames(const SettingsView&, SettingLines& lines) {
    AddOnOff(lines, "Names in any language (unicode_names): ", radio.config.unicodeNames);
}

void DescribeDuckDialogue(const SettingsView& view, SettingLines& lines) {
    if (!SoundMixShown(view)) {
        return;
    }
    Add(lines, "Quieter while people speak (duck_dialogue): ");
    if (radio.config.duckPercent >= 0) {
        AddNumber(lines, radio.config.duckPercent);
        Add(lines, "% of the volume\n");
    } else {
        Add(lines, "off\n");
    }
    if (DuckDialogueIsBad(view)) {
        Add(lines, "  Warning: duck_dialogue=");
        Add(lines, view.texts.text[kDuckDialogueRow]);
        Add(lines, " is not a whole number from 0 to 100; the radio keeps its volume while people speak\n");
    }
}

void DescribePauseInMenus(const SettingsView& view, SettingLines& lines) {
    if (SoundMixShown(view)) {
        AddOnOff(lines, "Paused in the pause menu and in the background (pause_in_menus): ", radio.config.pauseInMenus);
    }
}

void DescribeOrder(const SettingsView& view, SettingLines& lines) {
    if (radio.config.playOrder != PlayOrder::kFolder) {
        Add(lines, "Play order (order): ");
        Add(lines, radio.config.playOrder == PlayOrder::kName ? "by name\n" : "random order\n");
    } else if (!EqualsIgnoringCase(view.texts.text[kOrderRow], "folder")) {
        Add(lines, "Warning: order = \"");
        Add(lines, view.texts.text[kOrderRow]);
        Add(lines, "\" is not folder, name or shuffle; the radio plays in folder order\n");
    }
}

void DescribeRemember(const SettingsView& view, SettingLines& lines) {
    if (!radio.config.remember) {
        return;
    }
    Add(lines, "Remembered state (remember): on, ");
    Add(lines, view.stateFileFound ? "volume " : "no state file yet: volume ");
    AddNumber(lines, radio.volume);
    Add(lines, ", station ");
    if (radio.remembered.station < 0) {
        Add(lines, "none\n");
        return;
    }
    AddNumber(lines, radio.remembered.station + 1);
    Add(lines, radio.remembered.off ? " (switched off: nothing plays until you choose)\n"
                                    : " (plays as soon as you may use the radio)\n");
}

void DescribeTitles(const SettingsView& view, SettingLines& lines) {
    if (radio.config.titlesFromTags) {
        Add(lines, "Track titles (titles): from the tags, \"Artist - Title\" (the file name when a track has no "
                   "title tag)\n");
    } else if (!EqualsIgnoringCase(view.texts.text[kTitlesRow], "file")) {
        Add(lines, "Warning: titles = \"");
        Add(lines, view.texts.text[kTitlesRow]);
        Add(lines, "\" is not file or tags; the radio shows file names\n");
    }
}

void DescribeController(const SettingsView& view, SettingLines& lines) {
    if (!ControllerShown(view)) {
        return;
    }
    Add(lines, "Wheel on a game pad (controller): ");
    if (!radio.config.controller) {
        Add(lines, "off\n");
        return;
    }
    Add(lines, "on, hold ");
    Add(lines, radio.config.controllerButton);
    Add(lines, " for ");
    AddNumber(lines, radio.config.controllerHoldMs);
    Add(lines, " ms to open the wheel\n");
}

void DescribeControllerButton(const SettingsView& view, SettingLines& lines) {
    if (!ControllerButtonIsBad(view)) {
        return;
    }
    Add(lines, "  Warning: controller_button = \"");
    Add(lines, view.texts.text[kControllerButtonRow]);
    Add(lines, view.texts.text[kControllerButtonRow][0] == 0
                   ? "\" names no control; the wheel opens with INPUT_SELECT_RADAR_MODE\n"
                   : "\" is not a control name (INPUT_...); the game may know no such control\n");
}

void DescribeControllerHold(const SettingsView& view, SettingLines& lines) {
    if (!ControllerHoldIsBad(view)) {
        return;
    }
    Add(lines, "  Warning: controller_hold_ms = \"");
    Add(lines, view.texts.text[kControllerHoldRow]);
    Add(lines, "\" is not a whole number from 100 to 2000; the wheel opens after 300 ms\n");
}

void DescribeMediaThread(const SettingsView&, SettingLines& lines) {
    if (radio.config.mediaThread) {
        Add(lines, "Media commands (media_thread): on a thread of the radio's own\n");
    }
}

void DescribeLoudness(const SettingsView& view, SettingLines& lines) {
    bool known = false;
    ParseLoudness(view.texts.text[kLoudnessRow], &known);
    if (radio.config.loudness != Loudness::kOff) {
        Add(lines, "Every track as loud as the last (loudness): ");
        Add(lines, radio.config.loudness == Loudness::kTrack
                       ? "by its track gain tag (the album gain when it has none)\n"
                       : "by its album gain tag (the track gain when it has none)\n");
    } else if (!known) {
        Add(lines, "Warning: loudness = \"");
        Add(lines, view.texts.text[kLoudnessRow]);
        Add(lines, "\" is not off, track or album; the radio does not level loudness\n");
    }
}

void DescribeLoudnessDefault(const SettingsView& view, SettingLines& lines) {
    char gain[kGainTextOut];
    FormatGainText(radio.config.loudnessDefault, gain);
    if (radio.config.loudness != Loudness::kOff) {
        Add(lines, "  A track without a gain tag plays at ");
        Add(lines, gain);
        Add(lines, " (loudness_default)\n");
    }
    double unused = 0;
    if (!ParseLoudnessDefault(view.texts.text[kLoudnessDefaultRow], &unused)) {
        Add(lines, "  Warning: loudness_default = \"");
        Add(lines, view.texts.text[kLoudnessDefaultRow]);
        Add(lines, "\" is not a gain from -20 to 20 dB; a track without a gain tag plays at -7 dB\n");
    }
}

void AddSettingOnLine(SettingLines& lines, const char* key, const char* text, const char* what) {
    Add(lines, "On: ");
    Add(lines, key);
    Add(lines, "=");
    Add(lines, text);
    Add(lines, " (");
    Add(lines, what);
    Add(lines, ")\n");
}

const char* MediaPlayerModeOn() {
    return radio.mediaPlayerMode ? "the radio on foot too" : nullptr;
}

const char* UnicodeNamesOn() {
    return radio.config.unicodeNames ? "names in any language" : nullptr;
}

const char* DuckDialogueOn() {
    return radio.config.duckPercent >= 0 ? "quieter while people speak" : nullptr;
}

const char* PauseInMenusOn() {
    return radio.config.pauseInMenus ? "paused in the pause menu and in the background" : nullptr;
}

const char* OrderOn() {
    const PlayOrder order = radio.config.playOrder;
    return order == PlayOrder::kName ? "plays by name" : order == PlayOrder::kShuffle ? "plays in random order" : nullptr;
}

const char* RememberOn() {
    return radio.config.remember ? "the volume and the station kept from one game to the next" : nullptr;
}

const char* TitlesOn() {
    return radio.config.titlesFromTags ? "track titles from the tags" : nullptr;
}

const char* ControllerOn() {
    return radio.config.controller ? "the wheel on a game pad" : nullptr;
}

const char* MediaThreadOn() {
    return radio.config.mediaThread ? "media commands on a thread of the radio's own" : nullptr;
}

const char* LoudnessOn() {
    return radio.config.loudness == Loudness::kTrack   ? "every track as loud as the last, by its track gain"
           : radio.config.loudness == Loudness::kAlbum ? "every track as loud as the last, by its album gain"
                                                       : nullptr;
}

}  // namespace trallio
