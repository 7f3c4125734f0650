// Names in any language: the UTF-8/UTF-16 conversions, the cut between characters, the settings
// file read as Unicode, and the media commands with the switch on and off.
#include <cstring>
#include <string>

#include "audio/mci_channel.h"
#include "audio/media_command.h"
#include "playback/radio_state.h"
#include "support.h"
#include "text/ini_text.h"
#include "text/utf.h"

using namespace testing_support;

namespace {

// A conversion into a buffer of `capacity` units filled with 0x55 first: it must end in a terminator.
template <typename Out, typename In, typename Convert>
std::basic_string<Out> Converted(const In& text, size_t capacity, Convert convert) {
    Out out[64];
    std::memset(out, 0x55, sizeof out);
    const size_t count = convert(text.data(), text.size(), out, capacity);
    EXPECT_LT(count, capacity);
    EXPECT_EQ(out[count], 0) << "terminated";
    return std::basic_string<Out>(out, count);
}

std::u16string ToUtf16(const std::string& text, size_t units) {
    return Converted<char16_t>(text, units, trallio::Utf8ToUtf16);
}

std::string ToUtf8(const std::u16string& text, size_t size) {
    return Converted<char>(text, size, trallio::Utf16ToUtf8);
}

TEST(Utf, Utf8ToUtf16ReplacesBadInputAndNeverSplitsAPair) {
    const struct {
        std::string in;
        size_t units;
        std::u16string out;
    } cases[] = {
        {"tune.mp3", 64, u"tune.mp3"},
        {"caf\xC3\xA9.ogg", 64, u"caf\u00E9.ogg"},
        {"\xD0\x94\xD0\xBE\xD1\x80\xD0\xBE\xD0\xB3\xD0\xB0.mp3", 64, u"\u0414\u043E\u0440\u043E\u0433\u0430.mp3"},
        {"\xE5\xA4\x9C.flac", 64, u"\u591C.flac"},
        {"\xF0\x9F\x8E\xB5 tune.wav", 64, u"\xD83C\xDFB5 tune.wav"},
        {"a\xF0\x9F\x8E\xB5", 3, u"a"},                // the pair does not fit: left off whole
        {"a\xF0\x9F\x8E\xB5", 4, u"a\xD83C\xDFB5"},
        {"\xC3", 64, u"\xFFFD"},                       // cut sequence
        {"\xC0\xAF", 64, u"\xFFFD\xFFFD"},             // overlong '/'
        {"\xED\xA0\x80", 64, u"\xFFFD\xFFFD\xFFFD"},   // a surrogate's code
        {"\xF4\x90\x80\x80", 64, u"\xFFFD\xFFFD\xFFFD\xFFFD"},  // above U+10FFFF
        {"\xFF" "a\x80", 64, u"\xFFFD" u"a\xFFFD"},
        {"\xE5\xA4" "x", 64, u"\xFFFD\xFFFD" u"x"},
        {"abc", 1, u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToUtf16(c.in, c.units), c.out) << "input \"" << c.in << "\" into " << c.units;
    }
}

TEST(Utf, Utf16ToUtf8ReplacesUnpairedSurrogatesAndCutsBetweenCharacters) {
    const struct {
        std::u16string in;
        size_t size;
        std::string out;
    } cases[] = {
        {u"\u0421\u0442\u0430\u043D\u0446\u0438\u044F", 64, "\xD0\xA1\xD1\x82\xD0\xB0\xD0\xBD\xD1\x86\xD0\xB8\xD1\x8F"},
        {u"\xD83C\xDFB5 tune.wav", 64, "\xF0\x9F\x8E\xB5 tune.wav"},
        {u"a\xD83C" u"b", 64, "a\xEF\xBF\xBD" "b"},     // high half alone
        {u"a\xDFB5", 64, "a\xEF\xBF\xBD"},              // low half alone
        {u"\xDFB5\xD83C", 64, "\xEF\xBF\xBD\xEF\xBF\xBD"},  // halves in the wrong order
        {u"\xD83C", 64, "\xEF\xBF\xBD"},                // high half at the end
        {u"\u591C\u591C", 6, "\xE5\xA4\x9C"},           // the second does not fit with the terminator
        {u"\xD83C\xDFB5", 4, ""},
        {u"x", 1, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToUtf8(c.in, c.size), c.out) << "into " << c.size;
    }
}

TEST(Utf, CutsOnlyBetweenCharacters) {
    const std::string cyrillic = "\xD0\x94\xD0\xBE";  // two 2-byte characters
    const std::string emoji = "\xF0\x9F\x8E\xB5";
    const struct {
        std::string text;
        size_t limit;
        size_t length;
    } cases[] = {
        {"abc", 2, 2},      {"abc", 10, 3},    {cyrillic, 3, 2},   {cyrillic, 4, 4},  {cyrillic, 1, 0},
        {emoji, 3, 0},      {"a" + emoji, 4, 1}, {"a" + emoji, 5, 5}, {"\xFF\xFF", 1, 1}, {"", 5, 0},
        {std::string(62, 'a') + "\xE5\xA4\x9C", 63, 62},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(trallio::Utf8CutLength(c.text.c_str(), c.limit), c.length) << c.text << " at " << c.limit;
    }
    // The now-playing line: 63 bytes at most, ending on a whole character, terminated.
    char line[64];
    size_t length = trallio::AppendUtf8Bounded(line, sizeof line, 0, std::string(61, 'a').c_str());
    length = trallio::AppendUtf8Bounded(line, sizeof line, length, "\xD0\x94\xD0\xBE");
    EXPECT_EQ(length, 63u);
    EXPECT_EQ(std::string(line), std::string(61, 'a') + "\xD0\x94");
}

class UnicodeNames : public testing_support::RadioTest {};

// "[config]\nunicode_names=True\n[RADIOS]\nradio 2=Trallio\Станция\n" as UTF-16 of either order.
std::string Utf16File(bool bigEndian) {
    const std::u16string text = u"[config]\r\nunicode_names=True\r\n[RADIOS]\r\nradio 2 = Trallio\\"
                                u"\u0421\u0442\u0430\u043D\u0446\u0438\u044F\r\n";
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST_F(UnicodeNames, TheFolderIsAsWrittenFromUtf8WithOrWithoutMarkAndOnlyWhenOn) {
    // The file opens with a comment so that a byte order mark never touches a section header. The
    // stand-in reader has no UTF-16 form; UTF-16 files are decoded in IniText below and on Windows.
    const std::string station = "Trallio\\\xD0\xA1\xD1\x82\xD0\xB0\xD0\xBD\xD1\x86\xD0\xB8\xD1\x8F";
    const std::string utf8 = "; stations\n[config]\nunicode_names=True\n[RADIOS]\nradio 2 = " + station + "\n";
    const struct {
        const char* name;
        std::string file;
        bool on;
        std::string folder;
    } cases[] = {
        {"UTF-8", utf8, true, station},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + utf8, true, station},
        {"invalid UTF-8", "[config]\nunicode_names=true\n[RADIOS]\nradio 2=Trallio\\\xC3(\xFF\n", true,
         "Trallio\\\xEF\xBF\xBD(\xEF\xBF\xBD"},
        {"invalid UTF-8, off", "[RADIOS]\nradio 2=Trallio\\\xC3(\xFF\n", false, "Trallio\\\xC3(\xFF"},
        {"mark, off", "\xEF\xBB\xBF[RADIOS]\nradio 2=" + station + "\n", false, "Trallio\\Radio 2"},
    };
    for (const auto& c : cases) {
        ReadSettings(c.file);
        EXPECT_EQ(radio.config.unicodeNames, c.on) << c.name;
        EXPECT_EQ(std::string(radio.stationFolders[1]), c.folder) << c.name;
        EXPECT_EQ(radio.stationFolders[1], radio.stationBuffers[1]) << c.name;
        EXPECT_STREQ(radio.stationFolders[0], "Trallio\\Radio 1") << c.name;
    }
}

TEST(IniText, Utf16FilesDecodeToTheSameValues) {
    for (bool bigEndian : {false, true}) {
        const std::string bytes = Utf16File(bigEndian);
        char text[512];
        const size_t length = trallio::SettingsBytesToUtf8(bytes.data(), bytes.size(), text, sizeof text);
        char value[255] = "unchanged";
        ASSERT_TRUE(trallio::FindIniValue(text, length, "radios", "RADIO 2", value, sizeof value));
        EXPECT_STREQ(value, "Trallio\\\xD0\xA1\xD1\x82\xD0\xB0\xD0\xBD\xD1\x86\xD0\xB8\xD1\x8F");
        ASSERT_TRUE(trallio::FindIniValue(text, length, "config", "unicode_names", value, sizeof value));
        EXPECT_STREQ(value, "True");
        EXPECT_FALSE(trallio::FindIniValue(text, length, "RADIOS", "radio 1", value, sizeof value));
        EXPECT_STREQ(value, "True") << "a missing key leaves the buffer as it was";
    }
    // A long value is cut between characters to the buffer.
    const std::string file = "[RADIOS]\nradio 1=\"" + std::string(6, 'a') + "\xE5\xA4\x9C\"\n";
    char value[9];
    ASSERT_TRUE(trallio::FindIniValue(file.data(), file.size(), "RADIOS", "radio 1", value, sizeof value));
    EXPECT_STREQ(value, "aaaaaa");
}

TEST_F(UnicodeNames, MediaCommandsCarryTheUtf16NameOnlyWhenOn) {
    const std::string folder = "Trallio\\\xD0\xA1";          // "С"
    const std::string track = "\xF0\x9F\x8E\xB5 caf\xC3\xA9.wav";  // "🎵 café.wav"
    trallio::OpenTrack(folder.c_str(), track.c_str(), false);
    trallio::OpenTrack(folder.c_str(), track.c_str(), true);
    const std::vector<std::string> lines = testing_support::LinesStartingWith("media open");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "media open \"Trallio\\\xD0\xA1\\\xF0\x9F\x8E\xB5 caf\xC3\xA9.wav\" type MPEGVideo");
    EXPECT_EQ(lines[1], "media open \"Trallio\\\\u{0421}\\\\u{D83C}\\u{DFB5} caf\xE9.wav\" type MPEGVideo");
}

// The longest command fits whole: the longest station text with a file name of 255 UTF-16 units
// made of surrogate pairs, the volume command's tail and the longest number.
TEST(MediaCommand, TheLongestFolderAndNameFitWhole) {
    // `count` emoji and then `tail`, as UTF-8 and as UTF-16.
    const auto emoji = [](int count, const char* tail) {
        std::pair<std::string, std::u16string> text;
        for (int i = 0; i < count; ++i) {
            text.first += "\xF0\x9F\x8E\xB5";
            text.second += u"\xD83C\xDFB5";
        }
        text.first += tail;
        text.second += std::u16string(tail, tail + std::strlen(tail));
        return text;
    };
    const auto [name, nameUnits] = emoji(125, "a.mp3");
    ASSERT_EQ(nameUnits.size(), 255u);
    // The longest station text, in one-unit characters and in 4-byte ones.
    const std::string plain(trallio::kSettingsTextSize - 1, 'f');
    for (const auto& [folder, folderUnits] : {emoji(0, plain.c_str()), emoji(63, "ab")}) {
        ASSERT_EQ(folder.size(), plain.size());
        trallio::MediaCommand command;
        trallio::BuildMediaCommand(command, "setaudio ", folder.c_str(), name.c_str(), " volume to -2147483648", true);
        const std::u16string expected = u"setaudio \"" + folderUnits + u"\\" + nameUnits + u"\" volume to -2147483648";
        EXPECT_EQ(std::u16string(command.units, command.length), expected) << folder;
        EXPECT_EQ(command.units[command.length], 0);
    }
}

}  // namespace
