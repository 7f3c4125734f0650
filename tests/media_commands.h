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

template <typename Text>
Text Open(const Text& device) {
    return Words<Text>("open ") + device + Words<Text>(" type MPEGVideo");
}
template <typename Text>
Text Play(const Text& device) {
    return Words<Text>("play ") + device;
}
template <typename Text>
Text Volume(const Text& device, int volume) {
    return Words<Text>("setaudio ") + device + Words<Text>(" volume to ") + Words<Text>(std::to_string(volume).c_str());
}
template <typename Text>
Text Status(const Text& device) {
    return Words<Text>("status ") + device + Words<Text>(" mode");
}
template <typename Text>
Text Close(const Text& device) {
    return Words<Text>("close ") + device;
}
template <typename Text>
Text Pause(const Text& device) {
    return Words<Text>("pause ") + device;
}
template <typename Text>
Text Resume(const Text& device) {
    return Words<Text>("resume ") + device + Words<Text>(" notify");
}

}  // namespace media_commands
