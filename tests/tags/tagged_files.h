// Audio files with tags, made at test time: short tones encoded by gst-launch-1.0, tagged with
// TagLib. Each comes with the second line of the now-playing text the radio must show for it
// with titles = tags.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace tags_test {

struct TaggedFile {
    std::string name;      // the file name, UTF-8
    std::string expected;  // the tag line, or the file name when the radio must fall back to it
};

// Writes the set into `folder` (which must exist). With `withBigFiles`, also a 10 MB mp3 with
// 5 MB of cover art, one with 2 MB of it ahead of the text frames in an ID3v2.3 tag (both show
// their titles), one with 50 MB (over the largest tag read: the file name shows), and flac files
// with 1.5 MB of cover art (its title shows) and 3 MB (over the read budget: the file name). Returns the files written, or nothing when the encoder or a write failed.
std::vector<TaggedFile> MakeTaggedFiles(const std::string& folder, bool withBigFiles);

// Files with loudness gain tags in each container (ID3v2 TXXX frames and an APE tag in mp3, Vorbis
// comments in ogg and flac), names in either case, good and bad values (gain_table.h lists them),
// written into `folder`. Returns the names written, or nothing when the encoder or a write failed.
std::vector<std::string> MakeGainFiles(const std::string& folder);

// The set as "name<TAB>expected" lines, the manifest the wine tests read.
std::string Manifest(const std::vector<TaggedFile>& files);

// A test suite's files, made by `Make` into a folder under /tmp once before its first test and
// removed after its last.
template <typename Base, typename File, std::vector<File> (*Make)(const std::string&)>
class SuiteFiles : public Base {
protected:
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/trallio-tags-XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            folder = pattern;
            files = Make(folder);
        }
    }
    static void TearDownTestSuite() {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }

    inline static std::string folder;
    inline static std::vector<File> files;
};

}  // namespace tags_test
