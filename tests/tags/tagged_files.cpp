#include "tagged_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include <apetag.h>
#include <attachedpictureframe.h>
#include <fileref.h>
#include <flacfile.h>
#include <flacpicture.h>
#include <id3v1tag.h>
#include <id3v2tag.h>
#include <infotag.h>
#include <mpegfile.h>
#include <tag.h>
#include <textidentificationframe.h>
#include <vorbisfile.h>
#include <xiphcomment.h>
#include <wavfile.h>

#include "gain_table.h"
#include "run_quietly.h"

namespace tags_test {

namespace {

namespace fs = std::filesystem;

TagLib::String Utf8(const std::string& text) {
    return TagLib::String(text, TagLib::String::UTF8);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// A fifth of a second of tone, untagged, as `type` ("mp3", "ogg", "flac" or "wav").
bool MakeTone(const std::string& type, const std::string& path) {
    static const std::map<std::string, std::vector<std::string>> kEncoders = {
        {"mp3", {"lamemp3enc"}},
        {"ogg", {"vorbisenc", "!", "oggmux"}},
        {"flac", {"flacenc"}},
        {"wav", {"wavenc"}},
    };
    const std::vector<std::string>& encoder = kEncoders.at(type);
    std::vector<std::string> command = {"gst-launch-1.0", "-q",   "audiotestsrc", "num-buffers=10", "!",
                                        "audioconvert",   "!"};
    command.insert(command.end(), encoder.begin(), encoder.end());
    command.insert(command.end(), {"!", "filesink", "location=" + path});
    std::error_code error;
    return fakehost::RunQuietly(command) && fs::file_size(path, error) > 0 && !error;
}

// The tag writers: each opens the copied tone and writes artist and title ("" writes none).
// With `artFirst` the picture frame comes before the text frames, in an ID3v2.3 tag (frame sizes
// as plain numbers) instead of 2.4.
bool Id3v2(const std::string& path, const std::string& artist, const std::string& title, size_t artBytes,
           bool artFirst = false) {
    TagLib::MPEG::File file(path.c_str(), false);
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
    if (!artFirst) {
        tag->setArtist(Utf8(artist));
        tag->setTitle(Utf8(title));
    }
    if (artBytes > 0) {
        auto* picture = new TagLib::ID3v2::AttachedPictureFrame;
        picture->setMimeType("image/jpeg");
        picture->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        picture->setPicture(TagLib::ByteVector(static_cast<unsigned int>(artBytes), 'j'));
        tag->addFrame(picture);
    }
    tag->setArtist(Utf8(artist));  // with `artFirst` after the picture; else it rewrites the same frames
    tag->setTitle(Utf8(title));
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers,
                     artFirst ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4);
}

bool Id3v2Text(const std::string& path, const std::string& artist, const std::string& title) {
    return Id3v2(path, artist, title, 0);
}

bool Id3v1(const std::string& path, const std::string& artist, const std::string& title) {
    TagLib::MPEG::File file(path.c_str(), false);
    file.ID3v1Tag(true)->setArtist(Utf8(artist));
    file.ID3v1Tag(true)->setTitle(Utf8(title));
    return file.save(TagLib::MPEG::File::ID3v1, TagLib::File::StripOthers);
}

bool Vorbis(const std::string& path, const std::string& artist, const std::string& title) {
    TagLib::FileRef file(path.c_str(), false);
    if (file.isNull()) {
        return false;
    }
    file.tag()->setArtist(Utf8(artist));
    file.tag()->setTitle(Utf8(title));
    return file.save();
}

bool FlacWithArt(const std::string& path, const std::string& artist, const std::string& title, size_t artBytes) {
    TagLib::FLAC::File file(path.c_str(), false);
    file.xiphComment(true)->setArtist(Utf8(artist));
    file.xiphComment(true)->setTitle(Utf8(title));
    auto* picture = new TagLib::FLAC::Picture;
    picture->setMimeType("image/jpeg");
    picture->setType(TagLib::FLAC::Picture::FrontCover);
    picture->setData(TagLib::ByteVector(static_cast<unsigned int>(artBytes), 'j'));
    file.addPicture(picture);
    return file.save();
}

template <bool id3>
bool Wav(const std::string& path, const std::string& artist, const std::string& title) {
    TagLib::RIFF::WAV::File file(path.c_str(), false);
    TagLib::Tag* tag = id3 ? static_cast<TagLib::Tag*>(file.ID3v2Tag()) : file.InfoTag();
    tag->setArtist(Utf8(artist));
    tag->setTitle(Utf8(title));
    return file.save(id3 ? TagLib::RIFF::WAV::File::ID3v2 : TagLib::RIFF::WAV::File::Info, TagLib::File::StripOthers);
}

// A tag header that claims 4,000 bytes of frames, followed by bytes that are no frames (no artist
// or title).
bool CorruptId3v2(const std::string& path, const std::string&, const std::string&) {
    std::string bytes = "ID3";
    bytes += std::string("\x04\x00\x00\x00\x00\x1F\x20", 7);
    bytes += std::string(4000, '\xFF');
    return WriteAll(path, bytes + ReadAll(path));
}

// The tone repeated until the audio is `bytes` long: mp3 frames one after the other.
bool GrowMp3(const std::string& path, size_t bytes) {
    const std::string tone = ReadAll(path);
    if (tone.empty()) {
        return false;
    }
    std::string audio;
    audio.reserve(bytes + tone.size());
    while (audio.size() < bytes) {
        audio += tone;
    }
    return WriteAll(path, audio);
}

// Аня; "Песня о ветре " and 風の歌 four times: Cyrillic of two bytes a character, CJK of three.
const char kAnya[] = "\xD0\x90\xD0\xBD\xD1\x8F";
const char kCyrillicCjkTitle[] =
    "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F \xD0\xBE \xD0\xB2\xD0\xB5\xD1\x82\xD1\x80\xD0\xB5 "
    "\xE9\xA2\xA8\xE3\x81\xAE\xE6\xAD\x8C\xE9\xA2\xA8\xE3\x81\xAE\xE6\xAD\x8C"
    "\xE9\xA2\xA8\xE3\x81\xAE\xE6\xAD\x8C\xE9\xA2\xA8\xE3\x81\xAE\xE6\xAD\x8C";

// The untagged tones every file starts from, by type.
enum Tone { kMp3, kOgg, kFlac, kWav, kToneCount };

// One of the small files: its name, the tone it is copied from, the writer of its tags (none:
// left untagged), the artist and title it writes, and the line the radio must show for it.
struct Recipe {
    std::string name;
    Tone tone;
    bool (*tag)(const std::string& path, const std::string& artist, const std::string& title);
    std::string artist;
    std::string title;
    std::string expected;
};

std::vector<Recipe> SmallRecipes() {
    return {
        {"01 id3v2.mp3", kMp3, Id3v2Text, "Dust Riders", "Canyon Song", "Dust Riders - Canyon Song"},
        {"02 id3v1.mp3", kMp3, Id3v1, "Old Timer", "Saloon Waltz", "Old Timer - Saloon Waltz"},
        {"03 vorbis.ogg", kOgg, Vorbis, "Prairie Band", "Night Herd", "Prairie Band - Night Herd"},
        {"04 vorbis.flac", kFlac, Vorbis, "River Folk", "Muddy Water", "River Folk - Muddy Water"},
        {"05 info.wav", kWav, Wav<false>, "Bell Choir", "Evening Chimes", "Bell Choir - Evening Chimes"},
        {"06 id3.wav", kWav, Wav<true>, "Horse Thieves", "Run", "Horse Thieves - Run"},
        {"07 title only.mp3", kMp3, Id3v2Text, "", "Lonesome Trail", "Lonesome Trail"},
        {"08 untagged.wav", kWav, nullptr, "", "", "08 untagged.wav"},
        {"09 long.mp3", kMp3, Id3v2Text, "", std::string(200, 'L'), std::string(63, 'L')},
        {"10 cyrillic cjk.flac", kFlac, Vorbis, kAnya, kCyrillicCjkTitle,
         // "Аня - " (9 bytes), the Cyrillic words (25 bytes) and the nine CJK characters (27 bytes)
         // that fit in 63 bytes: the tenth would end at byte 64.
         std::string(kAnya) + " - " + std::string(kCyrillicCjkTitle, 52)},
        {"11 controls.ogg", kOgg, Vorbis, " Tab\tBand ", "Line\r\nBreak\x7F", "TabBand - LineBreak"},
        {"12 corrupt.mp3", kMp3, CorruptId3v2, "", "", "12 corrupt.mp3"},
        {"13 caf\xC3\xA9.mp3", kMp3, Id3v2Text, "Caf\xC3\xA9 Trio", "Encore", "Caf\xC3\xA9 Trio - Encore"},
    };
}

bool CopyTone(const std::string& tone, const std::string& path) {
    std::error_code error;
    fs::copy_file(tone, path, fs::copy_options::overwrite_existing, error);
    return !error;
}

// The small files, tagged by their recipes, added to `made`. False when a copy or a tag failed.
bool MakeSmallFiles(const std::string& folder, const std::string (&tones)[kToneCount],
                    std::vector<TaggedFile>& made) {
    for (const Recipe& recipe : SmallRecipes()) {
        const std::string path = folder + "/" + recipe.name;
        if (!CopyTone(tones[recipe.tone], path) ||
            (recipe.tag != nullptr && !recipe.tag(path, recipe.artist, recipe.title))) {
            return false;
        }
        made.push_back({recipe.name, recipe.expected});
    }
    return true;
}

// The files with big cover art or long audio, added to `made`. False when a copy or a tag failed.
bool MakeBigFiles(const std::string& folder, const std::string (&tones)[kToneCount], std::vector<TaggedFile>& made) {
    // A flac file's picture is read whole: 1.5 MB is under the read budget, 3 MB over it.
    const struct {
        const char* name;
        size_t art;
        const char* expected;
    } flacs[] = {{"23 cover art.flac", 3u << 19, "Big Sky - Open Range"},
                 {"24 big art.flac", 3u << 20, "24 big art.flac"}};
    for (const auto& file : flacs) {
        const std::string path = folder + "/" + file.name;
        if (!CopyTone(tones[kFlac], path) || !FlacWithArt(path, "Big Sky", "Open Range", file.art)) {
            return false;
        }
        made.push_back({file.name, file.expected});
    }
    const size_t mb = 1u << 20;
    const struct {
        const char* name;
        size_t audio;
        size_t art;
        bool artFirst;
        const char* expected;
    } big[] = {{"20 cover art.mp3", 5 * mb, 5 * mb, false, "Big Sky - Open Range"},
               {"21 huge art.mp3", 1 * mb, 50 * mb, false, "21 huge art.mp3"},
               {"22 art first.mp3", 1 * mb, 2 * mb, true, "Big Sky - Open Range"}};
    for (const auto& file : big) {
        const std::string path = folder + "/" + file.name;
        if (!CopyTone(tones[kMp3], path) || !GrowMp3(path, file.audio) ||
            !Id3v2(path, "Big Sky", "Open Range", file.art, file.artFirst)) {
            return false;
        }
        made.push_back({file.name, file.expected});
    }
    return true;
}

void AddGainComments(TagLib::Ogg::XiphComment& comment, const GainCase& file) {
    if (file.trackName != nullptr) {
        comment.addField(file.trackName, Utf8(file.trackValue));
    }
    if (file.albumName != nullptr) {
        comment.addField(file.albumName, Utf8(file.albumValue));
    }
}

// Writes the gain tags of `file` into its copied tone; the ID3v2 tag gets a title besides.
bool WriteGainTags(const std::string& path, const GainCase& file) {
    if (file.container == GainContainer::kFlac) {
        TagLib::FLAC::File flac(path.c_str(), false);
        AddGainComments(*flac.xiphComment(true), file);
        return flac.save();
    }
    if (file.container == GainContainer::kOgg) {
        TagLib::Ogg::Vorbis::File ogg(path.c_str(), false);
        AddGainComments(*ogg.tag(), file);
        return ogg.save();
    }
    TagLib::MPEG::File mp3(path.c_str(), false);
    const bool ape = file.container == GainContainer::kApe;
    const char* const names[2] = {file.trackName, file.albumName};
    const char* const values[2] = {file.trackValue, file.albumValue};
    if (!ape) {
        mp3.ID3v2Tag(true)->setTitle("Levelled");
    }
    for (int i = 0; i < 2; ++i) {
        if (names[i] != nullptr && ape) {
            mp3.APETag(true)->addValue(names[i], Utf8(values[i]));
        } else if (names[i] != nullptr) {
            auto* frame = new TagLib::ID3v2::UserTextIdentificationFrame(TagLib::String::UTF8);
            frame->setDescription(names[i]);
            frame->setText(Utf8(values[i]));
            mp3.ID3v2Tag()->addFrame(frame);
        }
    }
    return mp3.save(ape ? TagLib::MPEG::File::APE : TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers);
}

}  // namespace

std::vector<std::string> MakeGainFiles(const std::string& folder) {
    // The tones by container: mp3 for ID3v2 and APE, then ogg and flac.
    const char* const types[3] = {"mp3", "ogg", "flac"};
    std::string tones[3];
    for (int i = 0; i < 3; ++i) {
        tones[i] = folder + "/.gain-tone." + types[i];
        if (!MakeTone(types[i], tones[i])) {
            return {};
        }
    }
    std::vector<std::string> made;
    for (const GainCase& file : kGainCases) {
        const int tone = file.container == GainContainer::kOgg ? 1 : file.container == GainContainer::kFlac ? 2 : 0;
        const std::string path = folder + "/" + file.name;
        const bool tagged = file.trackName != nullptr || file.albumName != nullptr;
        if (!CopyTone(tones[tone], path) || (tagged && !WriteGainTags(path, file))) {
            return {};
        }
        made.push_back(file.name);
    }
    for (const std::string& tone : tones) {
        fs::remove(tone);
    }
    return made;
}

std::vector<TaggedFile> MakeTaggedFiles(const std::string& folder, bool withBigFiles) {
    std::string tones[kToneCount];
    const char* const types[kToneCount] = {"mp3", "ogg", "flac", "wav"};
    for (int i = 0; i < kToneCount; ++i) {
        tones[i] = folder + "/.tone." + types[i];
        if (!MakeTone(types[i], tones[i])) {
            return {};
        }
    }
    std::vector<TaggedFile> made;
    if (!MakeSmallFiles(folder, tones, made) || (withBigFiles && !MakeBigFiles(folder, tones, made))) {
        return {};
    }
    for (const std::string& tone : tones) {
        fs::remove(tone);
    }
    // In name order, the order the radio plays them in with order = name.
    std::sort(made.begin(), made.end(), [](const TaggedFile& a, const TaggedFile& b) { return a.name < b.name; });
    return made;
}

std::string Manifest(const std::vector<TaggedFile>& files) {
    std::string text;
    for (const TaggedFile& file : files) {
        text += file.name + "\t" + file.expected + "\n";
    }
    return text;
}

}  // namespace tags_test
