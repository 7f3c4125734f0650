// From device names to files: separators, bytes 0x80..0xFF, relative paths and what is not a
// playable file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "media_files.h"
#include "platform/posix/media/file_path.h"

namespace trallio::media {
namespace {

using namespace test;

std::u16string Wide(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

TEST(FilePath, ReadsUnitsAsBytesAndBackslashesAsSlashes) {
    EXPECT_EQ(NameToPath(u"Trallio\\Radio 1\\a.mp3", false), "Trallio/Radio 1/a.mp3");
    // 0xE9 and 0xFF: the raw bytes, or their UTF-8 encoding.
    EXPECT_EQ(NameToPath(u"caf\u00E9\u00FF", false), "caf\xE9\xFF");
    EXPECT_EQ(NameToPath(u"caf\u00E9\u00FF", true), "caf\xC3\xA9\xC3\xBF");
    // Units above 0xFF have no byte of their own: UTF-8, pairs joined, a lone surrogate replaced.
    EXPECT_EQ(NameToPath(u"\u20AC", false), "\xE2\x82\xAC");
    EXPECT_EQ(NameToPath(u"\U0001F3B5", false), "\xF0\x9F\x8E\xB5");
    EXPECT_EQ(NameToPath(std::u16string(1, char16_t(0xD800)) + u"a", false), "\xEF\xBF\xBD" "a");
}

TEST(FilePath, FindsFilesAsTheRadioNamesThem) {
    const std::string dir = ScratchDir() + "/names";
    ASSERT_TRUE(MakeDir(dir + "/Radio 1"));
    ASSERT_TRUE(WriteFile(dir + "/raw\xE9.mp3", "x"));
    ASSERT_TRUE(WriteFile(dir + "/utf\xC3\xA9.mp3", "x"));
    ASSERT_TRUE(WriteFile(dir + "/Radio 1/a.mp3", "x"));
    ASSERT_TRUE(MakeDir(dir + "/folder.mp3"));
    std::string path;
    // Raw bytes first, then UTF-8.
    ASSERT_EQ(FindFile(Wide(dir) + u"\\raw\u00E9.mp3", path), FileCheck::Readable);
    EXPECT_EQ(path, dir + "/raw\xE9.mp3");
    ASSERT_EQ(FindFile(Wide(dir) + u"\\utf\u00E9.mp3", path), FileCheck::Readable);
    EXPECT_EQ(path, dir + "/utf\xC3\xA9.mp3");
    EXPECT_EQ(FindFile(Wide(dir) + u"\\none\u00E9.mp3", path), FileCheck::Missing);
    // Relative to the current directory.
    {
        InDirectory inside(dir);
        ASSERT_EQ(FindFile(u"Radio 1\\a.mp3", path), FileCheck::Readable);
        EXPECT_EQ(path, dir + "/Radio 1/a.mp3");
        EXPECT_EQ(FindFile(u".\\Radio 1\\..\\Radio 1\\a.mp3", path), FileCheck::Readable);
        EXPECT_EQ(FindFile(u"Radio 2\\a.mp3", path), FileCheck::Missing);
    }
    // There, but not a file to play.
    EXPECT_EQ(FindFile(Wide(dir) + u"/folder.mp3", path), FileCheck::NotAFile);
    EXPECT_EQ(FindFile(u"/dev/null", path), FileCheck::NotAFile);
    ASSERT_TRUE(WriteFile(dir + "/locked.mp3", "x"));
    ASSERT_EQ(chmod((dir + "/locked.mp3").c_str(), 0), 0);
    if (geteuid() != 0) {  // root reads it anyway
        EXPECT_EQ(FindFile(Wide(dir) + u"/locked.mp3", path), FileCheck::Missing);
    }
}

}  // namespace
}  // namespace trallio::media
