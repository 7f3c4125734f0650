// The media commands the radio sends, as the tests expect them: written once for the native tests
// (bytes, std::string) and the wine tests (16-bit units, std::wstring). They are spelled out here
// again rather than taken from the radio's command builder, so that a wrong command still fails.
#pragma once

#include <string>

namespace media_commands {

template <typename T>
struct Same {
    using type = T;
};

template <typename Text>
Text Words(const char* ascii) {
    Text text;
    for (; *ascii != 0; ++ascii) {
        text += static_cast<typename Text::value_type>(*ascii);
    }
    return text;
}

// The device name: the quoted path "folder\track".
template <typename Text>
Text Device(const Text& folder, const typename Same<Text>::type& track) {
    return Words<Text>("\"") + folder + Words<Text>("\\") + track + Words<Text>("\"");
}

// A command: its verb, the device and what follows the device.
template <typename Text>
Text Say(const char* verb, const Text& device, const char* tail = "") {
    return Words<Text>(verb) + device + Words<Text>(tail);
}

template <typename Text>
Text Open(const Text& device) { return Say("open ", device, " type MPEGVideo"); }
template <typename Text>
Text Play(const Text& device) { return Say("play ", device); }
template <typename Text>
Text Volume(const Text& device, int volume) {
    return Say("setaudio ", device, (" volume to " + std::to_string(volume)).c_str());
}
template <typename Text>
Text Status(const Text& device) { return Say("status ", device, " mode"); }
template <typename Text>
Text Close(const Text& device) { return Say("close ", device); }
template <typename Text>
Text Pause(const Text& device) { return Say("pause ", device); }
template <typename Text>
Text Resume(const Text& device) { return Say("resume ", device, " notify"); }

}  // namespace media_commands
