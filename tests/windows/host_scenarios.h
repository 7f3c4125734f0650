// The wine host's scenarios that have files of their own, run by trallio_wine_host's main.
#pragma once

#include <string>

namespace wine_scenarios {

void WheelEndToEnd(bool realMci, bool unicodeNames = false);
void RefusedFiles();
void RefusedFilesRealMci();
void RememberAcrossLoads();
void SoundMix();
void UnicodeStation(const wchar_t* name, bool on, const std::string& markOrNot);
void TitlesFromTags(bool unicodeNames);

}  // namespace wine_scenarios
