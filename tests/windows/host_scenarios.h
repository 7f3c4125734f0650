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
// pad: the wheel on a game pad with controller = True, then with the setting off (pad_wine.cpp).
void PadWheel();
void LoudnessFromTags(bool album);
// media_thread on the recording winmm (media_thread_host.cpp).
void MediaThreadOnRecorder();
void MediaThreadLoads(int loads);
void MediaThreadUnloadDuringOpen();

}  // namespace wine_scenarios
