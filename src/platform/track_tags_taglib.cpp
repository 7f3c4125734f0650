// Track tags through TagLib, on Windows and Linux alike. TagLib reads through a stream that counts
// the bytes it hands out: past the budget every read comes back empty, TagLib sees a cut file,
// and the tags count as absent. An mp3 whose ID3v2 tag is large (cover art) is read frame by
// frame instead, without its large frames, so that its title costs a few small reads rather than
// megabytes. Windows names go to TagLib as wide names. The gain tags, when asked for, come from the
// same read: from the tags TagLib has parsed already, asked by name.
#include <cstdint>
#include <cstring>

#include <apetag.h>
#include <flacfile.h>
#include <id3v2framefactory.h>
#include <id3v2tag.h>
#include <fileref.h>
#include <mpegfile.h>
#include <tag.h>
#include <tbytevectorstream.h>
#include <tdebuglistener.h>
#include <tfilestream.h>
#include <textidentificationframe.h>
#include <tiostream.h>
#include <wavfile.h>
#include <xiphcomment.h>

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/posix/system_path.h"
#endif

#include "platform/track_tags.h"
#include "text/utf.h"

namespace trallio {

namespace {

// A read-only view of a file stream that refuses any read past the byte budget.
class BudgetStream : public TagLib::IOStream {
public:
    BudgetStream(TagLib::FileStream& file, unsigned long budget) : file_(file), left_(budget) {}

    bool Exhausted() const { return exhausted_; }

    TagLib::FileName name() const override { return file_.name(); }
    TagLib::ByteVector readBlock(unsigned long length) override {
        if (exhausted_ || length > left_) {
            exhausted_ = true;
            return TagLib::ByteVector();
        }
        TagLib::ByteVector block = file_.readBlock(length);
        left_ -= block.size();
        return block;
    }
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return file_.isOpen(); }
    void seek(long offset, Position position) override { file_.seek(offset, position); }
    void clear() override { file_.clear(); }
    long tell() const override { return file_.tell(); }
    long length() override { return file_.length(); }
    void truncate(long) override {}

private:
    TagLib::FileStream& file_;
    unsigned long left_;
    bool exhausted_ = false;
};

// TagLib reports damaged tags on the error stream; in the game nobody reads it.
class QuietListener : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String&) override {}
};

QuietListener quietListener;

size_t CopyValue(const TagLib::String& value, char* out) {
    const std::string text = value.to8Bit(true);
    const size_t length = Utf8PrefixLength(text.data(), text.size(), kTagValueSize - 1);
    std::memcpy(out, text.data(), length);
    out[length] = 0;
    return length;
}

// An ID3v2 tag at the start of an mp3 up to this size goes to TagLib whole.
constexpr uint32_t kWholeTagSize = 256u << 10;
// A larger tag is read frame by frame, keeping frames up to kLargestKeptFrame bytes (text frames
// are far smaller) and at most kKeptBytes of them, from its first kMostFrames frames.
constexpr uint32_t kLargestKeptFrame = 64u << 10;
constexpr uint32_t kKeptBytes = 256u << 10;
constexpr int kMostFrames = 256;

uint32_t SyncSafe(const unsigned char* p) {
    return static_cast<uint32_t>(p[0] & 0x7F) << 21 | static_cast<uint32_t>(p[1] & 0x7F) << 14 |
           static_cast<uint32_t>(p[2] & 0x7F) << 7 | static_cast<uint32_t>(p[3] & 0x7F);
}

uint32_t BigEndian(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           static_cast<uint32_t>(p[3]);
}

bool IsFrameIdByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

enum class LargeTag { kNone, kCompact, kOverBudget };

// An ID3v2.3 or 2.4 tag at the start of `file` that is larger than kWholeTagSize, copied into
// `compact` without its frames over kLargestKeptFrame: the tag's header with the new size, then
// the frames kept, as they are. kNone: no such tag, or one this walk leaves to TagLib (another
// version, unsynchronised, an extended header, a frame header that is not well formed);
// kOverBudget: the tag is larger than kLargestId3v2Tag.
LargeTag ReadLargeId3v2(TagLib::FileStream& file, TagLib::ByteVector& compact) {
    file.seek(0);
    const TagLib::ByteVector header = file.readBlock(10);
    const auto* h = reinterpret_cast<const unsigned char*>(header.data());
    if (header.size() != 10 || std::memcmp(h, "ID3", 3) != 0 || (h[3] != 3 && h[3] != 4)) {
        return LargeTag::kNone;
    }
    const uint32_t tagSize = SyncSafe(h + 6);
    if (tagSize <= kWholeTagSize) {
        return LargeTag::kNone;
    }
    if (tagSize > kLargestId3v2Tag) {
        return LargeTag::kOverBudget;
    }
    if ((h[5] & 0xC0) != 0) {  // unsynchronised, or an extended header
        return LargeTag::kNone;
    }
    TagLib::ByteVector frames;
    uint32_t at = 0;
    for (int count = 0; count < kMostFrames && at + 10 <= tagSize; ++count) {
        file.seek(static_cast<long>(10 + at));
        const TagLib::ByteVector frameHeader = file.readBlock(10);
        const auto* f = reinterpret_cast<const unsigned char*>(frameHeader.data());
        if (frameHeader.size() != 10 || f[0] == 0) {
            break;  // the file's end, or the padding after the last frame
        }
        if (!IsFrameIdByte(f[0]) || !IsFrameIdByte(f[1]) || !IsFrameIdByte(f[2]) || !IsFrameIdByte(f[3])) {
            return LargeTag::kNone;
        }
        const uint32_t size = h[3] == 4 ? SyncSafe(f + 4) : BigEndian(f + 4);
        if (size > tagSize - at - 10) {
            return LargeTag::kNone;
        }
        if (size <= kLargestKeptFrame && frames.size() + 10 + size <= kKeptBytes) {
            frames.append(frameHeader);
            frames.append(file.readBlock(size));
        }
        at += 10 + size;
    }
    const uint32_t kept = frames.size();
    const char sizeBytes[4] = {static_cast<char>((kept >> 21) & 0x7F), static_cast<char>((kept >> 14) & 0x7F),
                               static_cast<char>((kept >> 7) & 0x7F), static_cast<char>(kept & 0x7F)};
    compact = header.mid(0, 5);
    compact.append(static_cast<char>(h[5] & ~0x10));  // no footer follows the kept frames
    compact.append(TagLib::ByteVector(sizeBytes, 4));
    compact.append(frames);
    return LargeTag::kCompact;
}

void CopyTag(const TagLib::Tag& tag, TrackTags& tags) {
    tags.artistLength = CopyValue(tag.artist(), tags.artist);
    tags.titleLength = CopyValue(tag.title(), tags.title);
}

// The gain tags' names, in capitals.
const char* const kGainNames[2] = {"REPLAYGAIN_TRACK_GAIN", "REPLAYGAIN_ALBUM_GAIN"};

// A gain text into the slot of its name (any case), unless that slot holds one already or the
// text would not fit.
void KeepGain(const TagLib::String& name, const TagLib::String& value, TrackTags& tags) {
    char* const slots[2] = {tags.trackGain, tags.albumGain};
    const TagLib::String upper = name.upper();
    for (int i = 0; i < 2; ++i) {
        if (upper == kGainNames[i] && slots[i][0] == 0) {
            const std::string text = value.to8Bit(true);
            if (text.size() < kGainTextSize) {
                std::memcpy(slots[i], text.c_str(), text.size() + 1);
            }
        }
    }
}

void ReadId3v2Gains(const TagLib::ID3v2::Tag& tag, TrackTags& tags) {
    for (TagLib::ID3v2::Frame* frame : tag.frameList("TXXX")) {
        const auto* text = dynamic_cast<const TagLib::ID3v2::UserTextIdentificationFrame*>(frame);
        const TagLib::StringList fields = text != nullptr ? text->fieldList() : TagLib::StringList();
        if (fields.size() >= 2) {  // the description, then the value
            KeepGain(text->description(), fields[1], tags);
        }
    }
}

// Vorbis comments (ogg, flac), then an mp3's ID3v2 tag, then its APE tag: the first of each gain
// found is kept.
void ReadGains(TagLib::File* file, TrackTags& tags) {
    auto* flac = dynamic_cast<TagLib::FLAC::File*>(file);
    const auto* comment = flac != nullptr ? (flac->hasXiphComment() ? flac->xiphComment() : nullptr)
                                          : dynamic_cast<const TagLib::Ogg::XiphComment*>(file->tag());
    if (comment != nullptr) {
        for (const auto& field : comment->fieldListMap()) {
            if (!field.second.isEmpty()) {
                KeepGain(field.first, field.second.front(), tags);
            }
        }
    }
    auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file);
    if (mpeg != nullptr && mpeg->hasID3v2Tag()) {
        ReadId3v2Gains(*mpeg->ID3v2Tag(), tags);
    }
    if (mpeg != nullptr && mpeg->hasAPETag()) {
        for (const auto& item : mpeg->APETag()->itemListMap()) {
            if (item.second.type() == TagLib::APE::Item::Text) {
                KeepGain(item.first, item.second.toString(), tags);
            }
        }
    }
}

bool ReadTags(const TagLib::FileName& name, bool mp3, TrackTags& tags) {
    TagLib::setDebugListener(&quietListener);
    TagLib::FileStream file(name, true);
    if (!file.isOpen()) {
        return false;
    }
    if (mp3) {
        TagLib::ByteVector compact;
        const LargeTag large = ReadLargeId3v2(file, compact);
        if (large == LargeTag::kOverBudget) {
            return false;
        }
        if (large == LargeTag::kCompact) {
            TagLib::ByteVectorStream memory(compact);
            TagLib::MPEG::File tagOnly(&memory, TagLib::ID3v2::FrameFactory::instance(), false);
            const TagLib::ID3v2::Tag* tag = tagOnly.isValid() ? tagOnly.ID3v2Tag() : nullptr;
            if (tag != nullptr && !tag->title().isEmpty()) {
                CopyTag(*tag, tags);
                if (tags.withGains) {
                    ReadId3v2Gains(*tag, tags);
                }
                return true;
            }
        }
        file.seek(0);
    }
    BudgetStream stream(file, kTagReadBudget);
    const TagLib::FileRef ref(&stream, false);
    if (ref.isNull() || ref.tag() == nullptr || stream.Exhausted()) {
        return false;
    }
    const TagLib::Tag* tag = ref.tag();
    // A wave file's tag is its ID3 chunk; the INFO chunk, where most tools write, is asked apart.
    auto* wave = dynamic_cast<TagLib::RIFF::WAV::File*>(ref.file());
    if (wave != nullptr && tag->title().isEmpty() && wave->hasInfoTag()) {
        tag = wave->InfoTag();
    }
    CopyTag(*tag, tags);
    if (tags.withGains) {
        ReadGains(ref.file(), tags);
    }
    return true;
}

// The name ends in ".mp3" in any case, which is how TagLib would take it for an MPEG file.
bool HasMp3Extension(const char* path) {
    const size_t length = std::strlen(path);
    if (length < 4 || path[length - 4] != '.') {
        return false;
    }
    const char* extension = path + length - 3;
    return (extension[0] | 0x20) == 'm' && (extension[1] | 0x20) == 'p' && extension[2] == '3';
}

void ClearTags(TrackTags& tags) {
    tags.artist[0] = 0;
    tags.artistLength = 0;
    tags.title[0] = 0;
    tags.titleLength = 0;
    tags.trackGain[0] = 0;
    tags.albumGain[0] = 0;
}

}  // namespace

bool ReadTrackTags(const char* path, bool utf8Path, TrackTags& tags) {
    ClearTags(tags);
    // TagLib reports running out of memory by throwing, and so may the file name and path texts
    // built for it: the whole read is one try, so that the game never sees an exception, nor half
    // a copy.
    try {
#ifdef _WIN32
        // The name the media commands and the directory stream use: UTF-8 widened to UTF-16, or
        // each byte widened to the unit of the same value (the C runtime's locale, which the radio
        // never changes), whatever the system's code page.
        wchar_t wide[1024];
        const size_t length = std::strlen(path);
        size_t units = 0;
        if (utf8Path) {
            units = Utf8ToUtf16(path, length, reinterpret_cast<char16_t*>(wide), sizeof wide / sizeof wide[0]);
        } else {
            for (; units < length && units + 1 < sizeof wide / sizeof wide[0]; ++units) {
                wide[units] = static_cast<wchar_t>(static_cast<unsigned char>(path[units]));
            }
        }
        wide[units] = 0;
        const TagLib::FileName name(wide);
#else
        (void)utf8Path;
        const std::string systemPath = SystemPath(path);
        const TagLib::FileName name(systemPath.c_str());
#endif
        if (ReadTags(name, HasMp3Extension(path), tags)) {
            return true;
        }
    } catch (...) {
    }
    ClearTags(tags);
    return false;
}

}  // namespace trallio
