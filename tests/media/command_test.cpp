// The command parser: the radio's own strings and the other spellings MCI accepts, and the
// error code for each kind of mistake.
#include <gtest/gtest.h>

#include <string>

#include "platform/posix/media/command.h"

namespace trallio::media {
namespace {

MciError Parse(const std::string& text, Command& command) {
    std::u16string wide;
    for (unsigned char byte : text) {
        wide += static_cast<char16_t>(byte);  // as the radio widens its texts
    }
    return ParseCommand(wide.c_str(), command);
}

TEST(CommandParser, ReadsTheRadiosCommandsAndOtherSpellings) {
    const struct {
        const char* text;
        Verb verb;
        std::u16string device;
        const char* flags;  // n: notify, w: wait, t: typed, a: all
        uint32_t volume;
        StatusItem item;
    } cases[] = {
        {"open \"Trallio\\Radio 1\\a.mp3\" type MPEGVideo", Verb::Open, u"Trallio\\Radio 1\\a.mp3", "t", 0,
         StatusItem::Mode},
        {"play \"Radio 1\\Caf\xE9  \xFF.MP3\"", Verb::Play, u"Radio 1\\Caf\u00E9  \u00FF.MP3", "", 0, StatusItem::Mode},
        {"setaudio \"a b\" volume to 90", Verb::SetAudio, u"a b", "", 90, StatusItem::Mode},
        {"pause \"a b\"", Verb::Pause, u"a b", "", 0, StatusItem::Mode},
        {"resume \"a b\" notify", Verb::Resume, u"a b", "n", 0, StatusItem::Mode},
        {"close \"\\\"", Verb::Close, u"\\", "", 0, StatusItem::Mode},
        {"status \"a b\" mode", Verb::Status, u"a b", "", 0, StatusItem::Mode},
        // Keywords in any case, bare names, blanks and tabs, the other status items.
        {"OPEN a.mp3", Verb::Open, u"a.mp3", "", 0, StatusItem::Mode},
        {"  Open\tC:\\m\\a.wav  TYPE mpegvideo wait ", Verb::Open, u"C:\\m\\a.wav", "tw", 0, StatusItem::Mode},
        {"SetAudio a Volume To 1000", Verb::SetAudio, u"a", "", 1000, StatusItem::Mode},
        {"setaudio a volume to 0", Verb::SetAudio, u"a", "", 0, StatusItem::Mode},
        {"STATUS a Position", Verb::Status, u"a", "", 0, StatusItem::Position},
        {"status a length notify", Verb::Status, u"a", "n", 0, StatusItem::Length},
        {"status a volume", Verb::Status, u"a", "", 0, StatusItem::Volume},
        // Only a bare "all" closes everything; quoted it is a device of that name.
        {"close all", Verb::Close, u"all", "a", 0, StatusItem::Mode},
        {"close \"all\"", Verb::Close, u"all", "", 0, StatusItem::Mode},
    };
    for (const auto& entry : cases) {
        Command command;
        ASSERT_EQ(Parse(entry.text, command), kMciOk) << entry.text;
        const std::string flags = entry.flags;
        EXPECT_EQ(command.verb, entry.verb) << entry.text;
        EXPECT_EQ(command.device, entry.device) << entry.text;
        EXPECT_EQ(command.notify, flags.find('n') != std::string::npos) << entry.text;
        EXPECT_EQ(command.wait, flags.find('w') != std::string::npos) << entry.text;
        EXPECT_EQ(command.typed, flags.find('t') != std::string::npos) << entry.text;
        EXPECT_EQ(command.all, flags.find('a') != std::string::npos) << entry.text;
        EXPECT_EQ(command.volume, entry.volume) << entry.text;
        EXPECT_EQ(command.item, entry.item) << entry.text;
    }
}

TEST(CommandParser, AnswersMistakesWithMciCodes) {
    const struct {
        const char* text;
        MciError error;
    } cases[] = {
        {"", kMciMissingCommandString},
        {"   ", kMciMissingCommandString},
        {"fly \"a.mp3\"", kMciUnrecognizedCommand},
        {"\"play\" a.mp3", kMciUnrecognizedCommand},
        {"seek \"a.mp3\" to start", kMciUnsupportedFunction},
        {"stop a.mp3", kMciUnsupportedFunction},
        {"play", kMciMissingDeviceName},
        {"play \"\"", kMciMissingDeviceName},
        {"play \"a.mp3", kMciNoClosingQuote},
        {"status \"a.mp3\" \"mode", kMciNoClosingQuote},
        {"play \"a.mp3\" from 0", kMciUnrecognizedKeyword},
        {"play \"a.mp3\"x", kMciUnrecognizedKeyword},
        {"pause a.mp3 mode", kMciUnrecognizedKeyword},
        {"open \"a.mp3\" type waveaudio", kMciInvalidDeviceName},
        {"open \"a.mp3\" type", kMciMissingParameter},
        {"setaudio a.mp3", kMciMissingParameter},
        {"setaudio a.mp3 volume 5", kMciMissingParameter},
        {"setaudio a.mp3 volume to", kMciMissingParameter},
        {"setaudio a.mp3 volume to ten", kMciBadInteger},
        {"setaudio a.mp3 volume to -5", kMciBadInteger},
        {"setaudio a.mp3 volume to 5x", kMciBadInteger},
        {"setaudio a.mp3 volume to 1001", kMciOutOfRange},
        {"setaudio a.mp3 volume to 99999999999999999999", kMciOutOfRange},
        {"setaudio a.mp3 volume to 5 volume to 6", kMciUnrecognizedKeyword},
        {"status a.mp3", kMciMissingParameter},
        {"status a.mp3 colour", kMciUnrecognizedKeyword},
        {"status a.mp3 mode position", kMciUnrecognizedKeyword},
    };
    for (const auto& entry : cases) {
        Command command;
        EXPECT_EQ(Parse(entry.text, command), entry.error) << entry.text;
    }
    Command command;
    EXPECT_EQ(ParseCommand(nullptr, command), kMciMissingCommandString);
}

}  // namespace
}  // namespace trallio::media
