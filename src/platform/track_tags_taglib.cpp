// Track tags through TagLib, on Windows and Linux alike. TagLib reads through a stream that counts
// the bytes it hands out: past the budget every read comes back empty, TagLib sees a cut file,
// and the tags count as absent. Windows names go to TagLib as wide names.
#include <cstring>

#include <fileref.h>
#include <tag.h>
#include <tdebuglistener.h>
#include <tfilestream.h>
#include <tiostream.h>
#include <wavfile.h>

#ifdef _WIN32
#include <windows.h>
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

bool ReadTags(const TagLib::FileName& name, TrackTags& tags) {
    TagLib::setDebugListener(&quietListener);
    TagLib::FileStream file(name, true);
    if (!file.isOpen()) {
        return false;
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
    tags.artistLength = CopyValue(tag->artist(), tags.artist);
    tags.titleLength = CopyValue(tag->title(), tags.title);
    return true;
}

}  // namespace

bool ReadTrackTags(const char* path, bool utf8Path, TrackTags& tags) {
    tags.artist[0] = 0;
    tags.artistLength = 0;
    tags.title[0] = 0;
    tags.titleLength = 0;
#ifdef _WIN32
    wchar_t wide[1024];
    if (MultiByteToWideChar(utf8Path ? CP_UTF8 : CP_ACP, 0, path, -1, wide, sizeof wide / sizeof wide[0]) == 0) {
        return false;
    }
    const TagLib::FileName name(wide);
#else
    (void)utf8Path;
    char systemPath[1024];
    size_t i = 0;
    for (; path[i] != 0 && i + 1 < sizeof systemPath; ++i) {
        systemPath[i] = path[i] == '\\' ? '/' : path[i];
    }
    systemPath[i] = 0;
    const TagLib::FileName name(systemPath);
#endif
    // TagLib reports running out of memory by throwing; the game must not see it.
    try {
        if (ReadTags(name, tags)) {
            return true;
        }
    } catch (...) {
    }
    tags.artist[0] = 0;
    tags.artistLength = 0;
    tags.title[0] = 0;
    tags.titleLength = 0;
    return false;
}

}  // namespace trallio
