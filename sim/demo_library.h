// A built-in demo library: three small stations of synthesised tracks, made with GStreamer's
// command-line tool so a first run of the simulator has something to play.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sim {

struct StationFolder {
    int station;          // 1..3
    std::string text;     // the folder as the settings give it ("Trallio\Radio 1")
    std::string path;     // the same on this file system ("Trallio/Radio 1")
    bool opens;           // the radio's directory stream can open it
};

// The three station folders the radio will use, read from the settings file in the current
// directory the way the radio reads them.
std::vector<StationFolder> ReadStationFolders();

// Creates the folder and fills it with the demo tracks of that station (a few seconds each, in
// several of the five types, each with an artist and a title tag where its type keeps tags: all
// but aac; one ogg or flac track of each station carries a track gain tag too). Progress and
// failures go to `log`. Returns the number of tracks made.
int CreateDemoStation(const StationFolder& folder, std::ostream& log);

// The names of the demo tracks of a station (1..3), in the order they are made.
std::vector<std::string> DemoTrackNames(int station);

}  // namespace sim
