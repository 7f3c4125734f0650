// trallio-check / TrallioCheck.exe: tells a player why a station stays silent. Run it in the game
// folder (where the plug-in is); it reads the settings the radio reads and walks each station folder
// the way the radio will. See docs/checker.md.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <unistd.h>

#include "platform/posix/media/media_service.h"
#endif

#include "station_report.h"

namespace {

#ifdef _WIN32
constexpr char kProgram[] = "TrallioCheck";
#else
constexpr char kProgram[] = "trallio-check";
#endif

constexpr char kUsage[] =
    "Usage: %s [--game-dir FOLDER] [--no-media] [--no-pause]\n"
    "\n"
    "Checks the radio's three stations: reads Trallio\\Trallio.ini from the game folder (the current\n"
    "folder unless --game-dir is given) and lists, per station, the folder, the tracks in the order\n"
    "the radio plays them, and every file it passes over with the reason. Every track is opened and\n"
    "closed again by the media service (nothing is played) and each one it refuses is named with the\n"
    "service's reason; --no-media skips that.\n"
    "Exit status: 0 when every station has a track to play and every track opens, 1 when a station has\n"
    "none, 3 when every station has one but some tracks will not play, 2 on a usage error.\n";

bool ChangeFolder(const char* folder) {
#ifdef _WIN32
    return SetCurrentDirectoryA(folder) != 0;
#else
    return chdir(folder) == 0;
#endif
}

#ifdef _WIN32
// Started by a double click, the checker has a console of its own that closes as soon as it ends:
// keep it open until the player has read it.
bool OwnsConsole() {
    DWORD processes[2];
    const DWORD count = GetConsoleProcessList(processes, 2);
    return count == 1 && GetFileType(GetStdHandle(STD_INPUT_HANDLE)) == FILE_TYPE_CHAR &&
           GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR;
}

// With unicode_names the report is UTF-8. A console is given it as UTF-16, which shows every
// character whatever the console's code page; a file or pipe gets the UTF-8 bytes as they are.
void PrintReport(const std::string& text, bool utf8) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (utf8 && GetFileType(out) == FILE_TYPE_CHAR && GetConsoleMode(out, &mode)) {
        const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        std::wstring wide(static_cast<size_t>(units), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], units);
        std::fflush(stdout);
        // In pieces, as older consoles take a limited amount per call, never between the halves of
        // a surrogate pair.
        for (size_t start = 0; start < wide.size();) {
            size_t count = std::min<size_t>(wide.size() - start, 4096);
            const wchar_t last = wide[start + count - 1];
            if (start + count < wide.size() && last >= 0xD800 && last <= 0xDBFF) {
                --count;
            }
            DWORD written = 0;
            if (!WriteConsoleW(out, wide.data() + start, static_cast<DWORD>(count), &written, nullptr) ||
                written == 0) {
                break;
            }
            start += written;
        }
        return;
    }
    std::fputs(text.c_str(), stdout);
}
#endif

}  // namespace

int main(int argc, char** argv) {
    bool pause = true;
    bool testPlay = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--game-dir") == 0 && i + 1 < argc) {
            const char* folder = argv[++i];
            if (!ChangeFolder(folder)) {
                std::fprintf(stderr, "%s: cannot open the game folder %s\n", kProgram, folder);
                return 2;
            }
        } else if (std::strcmp(argv[i], "--no-media") == 0) {
            testPlay = false;
        } else if (std::strcmp(argv[i], "--no-pause") == 0) {
            pause = false;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "/?") == 0) {
            std::printf(kUsage, kProgram);
            return 0;
        } else {
            std::fprintf(stderr, "%s: unknown option %s\n\n", kProgram, argv[i]);
            std::fprintf(stderr, kUsage, kProgram);
            return 2;
        }
    }
#ifdef _WIN32
    // Without unicode_names, file names are in the system's code page; show them in it.
    SetConsoleOutputCP(GetACP());
#endif

    const check::Report report = check::BuildReport(testPlay);
#ifndef _WIN32
    // The service closes devices on a thread of its own: let it finish before the program ends.
    trallio::media::SettleMediaService();
#endif
#ifdef _WIN32
    PrintReport(check::FormatReport(report), report.unicodeNames);
#else
    std::fputs(check::FormatReport(report).c_str(), stdout);
#endif
    std::fflush(stdout);

#ifdef _WIN32
    if (pause && OwnsConsole()) {
        std::fputs("\nPress Enter to close.", stdout);
        std::fflush(stdout);
        std::getchar();
    }
#else
    (void)pause;
#endif
    return report.ExitStatus();
}
