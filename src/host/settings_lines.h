// The station checker's lines for each [config] key, as the settings table names them: what the
// radio read, and a warning for a value it cannot use. A setting at its default adds nothing,
// except the two the report has always shown.
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

}  // namespace trallio
