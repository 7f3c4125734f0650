// The station checker's lines for each [config] key, as the settings table names them: what the
// radio read, and a warning for a value it cannot use. A setting at its default adds nothing,
// except the two the report has always shown. Each setting's phrase for the line the report opens
// with while it is on.
#pragma once

#include "host/settings.h"

namespace trallio {

void DescribeMediaPlayerMode(const SettingsView& view, SettingLines& lines);
void DescribeUnicodeNames(const SettingsView& view, SettingLines& lines);
void DescribeDuckDialogue(const SettingsView& view, SettingLines& lines);
void DescribePauseInMenus(const SettingsView& view, SettingLines& lines);
void DescribeOrder(const SettingsView& view, SettingLines& lines);
void DescribeRemember(const SettingsView& view, SettingLines& lines);
void DescribeTitles(const SettingsView& view, SettingLines& lines);
void DescribeController(const SettingsView& view, SettingLines& lines);
void DescribeControllerButton(const SettingsView& view, SettingLines& lines);
void DescribeControllerHold(const SettingsView& view, SettingLines& lines);
void DescribeMediaThread(const SettingsView& view, SettingLines& lines);
void DescribeLoudness(const SettingsView& view, SettingLines& lines);
void DescribeLoudnessDefault(const SettingsView& view, SettingLines& lines);

// The report's opening line for a setting that is on: "On: key=text (what)".
void AddSettingOnLine(SettingLines& lines, const char* key, const char* text, const char* what);

// What each setting does while it is on, or nullptr while it is off.
const char* MediaPlayerModeOn();
const char* UnicodeNamesOn();
const char* DuckDialogueOn();
const char* PauseInMenusOn();
const char* OrderOn();
const char* RememberOn();
const char* TitlesOn();
const char* ControllerOn();
const char* MediaThreadOn();
const char* LoudnessOn();

}  // namespace trallio
