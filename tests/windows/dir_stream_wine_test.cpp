// The directory stream over the find-file calls, on real folders under wine: dots, separators,
// failures and their error numbers, names that have no byte form, and the end of a folder.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <string>
#include <vector>

#include "check.h"
#include "platform/dir_stream.h"
#include "rig.h"

namespace {

const rig::GameFolder* scratch = nullptr;  // the test's own folder, removed at the end unless a check failed

std::string Bytes(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        out += static_cast<char>(c);
    }
    return out;
}

struct Entry {
    std::string name;
    unsigned short type;
};

// Every entry of the folder through the stream, in the order it gives them.
std::vector<Entry> ReadAll(const char* path, bool utf8Names = false) {
    std::vector<Entry> entries;
    trallio::DIR* stream = trallio::opendir(path, utf8Names);
    if (!CHECK(stream != nullptr)) {
        std::printf("    opendir(%s) failed, errno %d\n", check::Show(path).c_str(), errno);
        return entries;
    }
    while (trallio::dirent* entry = trallio::readdir(stream)) {
        entries.push_back({entry->d_name, entry->d_type});
    }
    CHECK_EQ(trallio::closedir(stream), 0);
    return entries;
}

std::vector<std::string> Names(const std::vector<Entry>& entries) {
    std::vector<std::string> names;
    for (const Entry& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

std::set<std::string> NameSet(const char* path, bool utf8Names = false) {
    const std::vector<std::string> names = Names(ReadAll(path, utf8Names));
    return std::set<std::string>(names.begin(), names.end());
}

int MappedErrno(DWORD error) {
    if (error == ERROR_ACCESS_DENIED) {
        return EACCES;
    }
    return error == ERROR_DIRECTORY ? ENOTDIR : ENOENT;
}

void ListsEveryEntryInThePlatformsOrder() {
    check::Section("every entry, dots and folders included, in the platform's order");
    const std::wstring folder = scratch->At(L"station");
    scratch->Write(L"station\\one.mp3", "");
    scratch->Write(L"station\\notes.txt", "");
    scratch->MakeFolder(L"station\\live.wav");

    const std::vector<Entry> entries = ReadAll(Bytes(folder).c_str());
    std::vector<std::string> platformNames;
    for (const WIN32_FIND_DATAW& data : rig::FindAll(folder)) {
        platformNames.push_back(Bytes(data.cFileName));
    }
    CHECK_EQ(entries.size(), size_t{5});
    CHECK(Names(entries) == platformNames);
    for (const Entry& entry : entries) {
        const bool folderEntry = entry.name == "." || entry.name == ".." || entry.name == "live.wav";
        if (!CHECK_EQ(entry.type, static_cast<unsigned short>(folderEntry ? 0x4000 : 0x8000))) {
            std::printf("    entry %s\n", entry.name.c_str());
        }
    }
    const std::set<std::string> names(platformNames.begin(), platformNames.end());
    CHECK((names == std::set<std::string>{".", "..", "one.mp3", "notes.txt", "live.wav"}));

    scratch->MakeFolder(L"empty");
    CHECK((NameSet(Bytes(scratch->At(L"empty")).c_str()) == std::set<std::string>{".", ".."}));
}

void SeparatorsNameTheSameFolder() {
    check::Section("trailing separators, forward slashes, relative paths and drive forms");
    const std::wstring folder = scratch->At(L"Radio 1");
    scratch->Write(L"Radio 1\\a.mp3", "");
    const std::set<std::string> expected{".", "..", "a.mp3"};
    const std::string path = Bytes(folder);

    CHECK(NameSet(path.c_str()) == expected);
    CHECK(NameSet((path + "\\").c_str()) == expected);
    CHECK(NameSet((path + "/").c_str()) == expected);
    std::string forward = path;
    std::replace(forward.begin(), forward.end(), '\\', '/');
    CHECK(NameSet(forward.c_str()) == expected);
    CHECK(NameSet((forward + "/").c_str()) == expected);

    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    CHECK(SetCurrentDirectoryW(scratch->path().c_str()));
    CHECK(NameSet("Radio 1") == expected);
    CHECK(NameSet(".\\Radio 1\\") == expected);
    CHECK(SetCurrentDirectoryW(folder.c_str()));
    CHECK(NameSet(".") == expected);
    // A drive letter alone names that drive's current folder.
    const std::string drive = path.substr(0, 2);
    if (drive.size() == 2 && drive[1] == ':') {
        CHECK(NameSet(drive.c_str()) == expected);
        // The drive's root already ends in a separator, so nothing is added before the "*".
        const std::set<std::string> root = NameSet((drive + "\\").c_str());
        CHECK(root.count("windows") == 1 || root.count("Windows") == 1);
        CHECK(NameSet((drive + "/").c_str()) == root);
    }
    SetCurrentDirectoryW(previous);
}

void FailuresGiveNoStreamAndTheCause() {
    check::Section("missing folder, file as folder, empty and absent paths");
    const std::string missing = Bytes(scratch->At(L"no such folder"));
    const std::string deeper = missing + "\\deeper";
    for (const char* path : {missing.c_str(), deeper.c_str(), "", static_cast<const char*>(nullptr)}) {
        errno = 0;
        CHECK(trallio::opendir(path) == nullptr);
        CHECK_EQ(errno, ENOENT);
    }

    const std::wstring file = scratch->At(L"plain.txt");
    scratch->Write(L"plain.txt", "");
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileExW((file + L"\\*").c_str(), FindExInfoStandard, &data,
                                     FindExSearchNameMatch, nullptr, 0);
    const DWORD platformError = search == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
    std::printf("    the find-file search in a file fails with error %lu\n", static_cast<unsigned long>(platformError));
    CHECK(platformError != 0);
    errno = 0;
    CHECK(trallio::opendir(Bytes(file).c_str()) == nullptr);
    CHECK_EQ(errno, MappedErrno(platformError));
    CHECK(errno == ENOTDIR || errno == ENOENT);
}

void NamesWithoutAByteForm() {
    check::Section("names above U+00FF: the short name or \"?\"; names up to U+00FF as bytes");
    const std::wstring folder = scratch->At(L"wide");
    // Omega has no byte form. A long name gets a generated short name; a name that is already a
    // valid short name gets none, and is seen as "?".
    const std::vector<std::wstring> wide = {L"\x03A9mega.mp3", L"\x03A9.mp3"};
    const std::wstring cafe = L"caf\x00E9.mp3";  // e acute: byte 0xE9
    for (const std::wstring& name : wide) {
        CHECK(scratch->Write(L"wide\\" + name, ""));
    }
    CHECK(scratch->Write(L"wide\\" + cafe, ""));

    std::vector<std::string> expectedWide;
    for (const WIN32_FIND_DATAW& data : rig::FindAll(folder)) {
        for (const std::wstring& name : wide) {
            if (name == data.cFileName) {
                std::printf("    short name of %s: %s\n", check::Show(name).c_str(),
                            check::Show(data.cAlternateFileName).c_str());
                expectedWide.push_back(data.cAlternateFileName[0] != 0 ? Bytes(data.cAlternateFileName) : "?");
            }
        }
    }
    CHECK_EQ(expectedWide.size(), wide.size());
    const std::vector<Entry> entries = ReadAll(Bytes(folder).c_str());
    CHECK_EQ(entries.size(), size_t{5});
    for (const std::string& expected : expectedWide) {
        size_t found = 0;
        for (const Entry& entry : entries) {
            if (entry.name == expected) {
                ++found;
                // An entry whose name did not convert at all has no type either.
                CHECK_EQ(entry.type, static_cast<unsigned short>(expected == "?" ? 0 : 0x8000));
            }
        }
        if (!CHECK_EQ(found, size_t{1})) {
            std::printf("    looked for %s\n", check::Show(expected).c_str());
        }
    }
    size_t cafes = 0;
    for (const Entry& entry : entries) {
        cafes += entry.name == "caf\xE9.mp3" ? 1 : 0;
    }
    CHECK_EQ(cafes, size_t{1});
}

// With unicode_names each name comes back as UTF-8, whole, in a folder named as UTF-8 too.
void NamesAsUtf8(const std::vector<std::wstring>& names) {
    check::Section("unicode_names: every name as UTF-8, the longest ones whole");
    const std::wstring station = L"\x0421\x0442\x0430\x043D\x0446\x0438\x044F";  // Cyrillic
    const std::wstring folder = scratch->At(station);
    CHECK(scratch->MakeFolder(station));
    std::set<std::string> expected{".", ".."};
    for (const std::wstring& name : names) {
        if (!CHECK(scratch->Write(station + L"\\" + name, ""))) {
            std::printf("    cannot make %s (%zu units)\n", check::Show(name).c_str(), name.size());
        }
        expected.insert(check::Narrow(name));
    }
    const std::set<std::string> got = NameSet(check::Narrow(folder).c_str(), true);
    if (!CHECK(got == expected)) {
        for (const std::string& name : got) {
            std::printf("    got %s (%zu bytes)\n", check::Show(name).c_str(), name.size());
        }
    }
}

void ReadingPastTheEnd() {
    check::Section("readdir after the end, and closedir of no stream");
    const std::wstring folder = scratch->At(L"end");
    scratch->Write(L"end\\only.ogg", "");
    trallio::DIR* stream = trallio::opendir(Bytes(folder).c_str());
    if (!CHECK(stream != nullptr)) {
        return;
    }
    int entries = 0;
    while (trallio::readdir(stream) != nullptr) {
        ++entries;
    }
    CHECK_EQ(entries, 3);
    int extra = 0;
    for (int i = 0; i < 1000; ++i) {
        if (trallio::readdir(stream) != nullptr) {
            ++extra;
        }
    }
    CHECK_EQ(extra, 0);
    CHECK_EQ(trallio::closedir(stream), 0);

    // Closing a stream that was never read to its end releases the search too.
    stream = trallio::opendir(Bytes(folder).c_str());
    CHECK(stream != nullptr && trallio::readdir(stream) != nullptr);
    CHECK_EQ(trallio::closedir(stream), 0);
    CHECK(RemoveDirectoryW(folder.c_str()) == 0);  // not empty yet: the file is still there
    CHECK(DeleteFileW(scratch->At(L"end\\only.ogg").c_str()));
    CHECK(RemoveDirectoryW(folder.c_str()));  // no search left open on it

    errno = 0;
    CHECK_EQ(trallio::closedir(nullptr), -1);
    CHECK_EQ(errno, EBADF);
}

}  // namespace

// The longest name, 255 UTF-16 units, is 765 bytes as UTF-8 at most. A Linux name holds 255
// bytes, so under wine the longest Cyrillic name exists only when the prefix's files are named in
// a one-byte character set: "long-names" runs with the unix side in KOI8-R (see WindowsBuild.cmake).
std::vector<std::wstring> LongestCyrillicName() {
    std::wstring name(251, L'\x0414');  // "Д" x 251: 502 bytes as UTF-8
    return {name + L".mp3"};
}

// Under the usual UTF-8 unix side: Cyrillic, CJK and emoji, and the longest CJK name it holds.
std::vector<std::wstring> NamesInEveryScript() {
    return {L"\x0414\x043E\x0440\x043E\x0433\x0430.mp3", L"\x591C\x306E\x6B4C.flac",
            L"\xD83C\xDFB5 tune.wav", std::wstring(83, L'\x591C') + L".mp3"};
}

int main(int argc, char** argv) {
    rig::StartWatchdog(argc > 1 ? std::string("dir_stream_wine_test ") + argv[1] : "dir_stream_wine_test", 60);
    const rig::GameFolder folder(L"dir-stream");
    scratch = &folder;
    if (!folder.ok()) {
        std::printf("cannot make %s\n", check::Narrow(folder.path()).c_str());
        return 1;
    }

    if (argc > 1 && std::string(argv[1]) == "long-names") {
        NamesAsUtf8(LongestCyrillicName());
    } else {
        ListsEveryEntryInThePlatformsOrder();
        SeparatorsNameTheSameFolder();
        FailuresGiveNoStreamAndTheCause();
        NamesWithoutAByteForm();
        NamesAsUtf8(NamesInEveryScript());
        ReadingPastTheEnd();
    }
    return check::Summary("dir_stream_wine_test");
}
