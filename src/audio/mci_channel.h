// One track on the media-control service, named by its station folder and file name. Every
// operation rebuilds the device name, the quoted path "folder\name", and sends one or two command
// strings; nothing waits, and only the status poll reads a reply.
#pragma once

namespace trallio {

void OpenTrack(const char* folder, const char* track);
void CloseTrack(const char* folder, const char* track);
void SetTrackVolume(const char* folder, const char* track);
void PauseTrack(const char* folder, const char* track);
void ResumeTrack(const char* folder, const char* track);
bool IsTrackStopped(const char* folder, const char* track);

}  // namespace trallio
