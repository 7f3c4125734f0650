#include "frame_script.h"

#include <algorithm>

namespace wine_session {

namespace {

void Apply(const FrameScript& script, const FrameStep& step) {
    if (step.mounted >= 0) {
        script.session.hook.SetPlayer(false, false, false, step.mounted == 1);
    }
    if (step.wheelKeys >= 0) {
        CHECK(rig::PressKey('Q', step.wheelKeys == 1) && rig::PressKey('R', step.wheelKeys == 1));
    }
    if (step.leftButton >= 0) {
        CHECK(rig::PressLeftButton(step.leftButton == 1));
    }
    if (step.sound >= 0) {
        script.session.hook.SetSound((step.sound & kConversation) != 0, (step.sound & kSpeech) != 0,
                                     (step.sound & kPauseMenu) != 0);
    }
    if (step.tick >= 0) {
        script.desktop->AnswerTickCount(static_cast<DWORD>(step.tick));
    }
    if (step.gameInFront >= 0) {
        script.desktop->AnswerForeground(step.gameInFront == 1 ? script.window : GetDesktopWindow());
    }
}

std::vector<std::wstring> VolumeCommands(const FrameRecord& frame) {
    std::vector<std::wstring> volumes;
    for (const std::wstring& command : Commands(frame.media)) {
        if (command.compare(0, 9, L"setaudio ") == 0) {
            volumes.push_back(command);
        }
    }
    return volumes;
}

}  // namespace

std::vector<FrameRecord> PlaySteps(const FrameScript& script, const std::vector<FrameStep>& steps,
                                   std::vector<rig::MediaCommand>* history) {
    std::vector<FrameRecord> records;
    for (const FrameStep& step : steps) {
        Apply(script, step);
        records.push_back(RunFrame(script.session, &script.watch));
        const FrameRecord& frame = records.back();
        if (history != nullptr) {
            Append(*history, frame.media);
        }
        CHECK_EQ(step.tick >= 0 ? VolumeCommands(frame) : Commands(frame.media), step.media);
        if (step.reply != nullptr) {
            CHECK(!frame.media.empty() && frame.media[0].reply == step.reply);
        }
    }
    return records;
}

HWND OpenGame(Session& session, rig::MediaWatch* watch, bool systemWinmm) {
    HWND window = rig::CreateGameWindow(kGameWindowTitle, 800, 600);
    if (!CHECK(window != nullptr) || !CHECK(session.Load())) {
        return nullptr;
    }
    if (watch != nullptr && systemWinmm) {
        CHECK(!watch->AttachRecorder());
        return CHECK(watch->AttachPassThrough(session.plugin)) ? window : nullptr;
    }
    return watch == nullptr || CHECK(watch->AttachRecorder()) ? window : nullptr;
}

bool LoadWatched(Session& session, rig::MediaWatch& watch, rig::DesktopWatch* desktop) {
    return CHECK(session.Load()) && CHECK(watch.AttachRecorder()) &&
           (desktop == nullptr || CHECK(desktop->Attach(session.plugin)));
}

bool LoadRide(Session& session, const std::string& more, rig::MediaWatch& watch, rig::DesktopWatch& desktop) {
    CHECK(session.folder.Write(L"Trallio\\Trallio.ini", "[RADIOS]\r\nradio 1 = Ride\r\n" + more));
    WriteTracks(session, L"Ride", {L"a.mp3"});
    return LoadWatched(session, watch, &desktop);
}

int ClickStationOne(const Session& session, rig::MediaWatch& watch, HWND window, int limit,
                    std::vector<rig::MediaCommand>& media) {
    session.hook.SetPlayer(false, false, false, true);
    RunFrame(session, &watch);
    CHECK(rig::PressKey('Q', true) && rig::PressKey('R', true));
    RunFrame(session, &watch);
    CHECK(rig::MoveCursorTo(window, kStation1X, kStation1Y));
    CHECK(rig::PressLeftButton(true));
    const int frames = RunUntil(session, watch, L"open ", limit, media);
    CHECK(rig::PressLeftButton(false));
    return frames;
}

bool PlayEachTrack(Session& session, const std::wstring& station, const std::vector<std::wstring>& names,
                   std::vector<rig::MediaCommand>& media,
                   const std::function<void(size_t, const FrameRecord&)>& onFrame) {
    rig::MediaWatch watch;
    HWND window = OpenGame(session, &watch);
    if (window == nullptr) {
        return false;
    }
    CHECK(ClickStationOne(session, watch, window, 6, media) > 0);
    for (size_t i = 0; i < names.size(); ++i) {
        const FrameRecord frame = RunFrame(session, &watch);
        Append(media, frame.media);
        onFrame(i, frame);
        EndTrack(session, watch, Device(station, names[i]), 6, media);
    }
    CloseGame(session, window);
    return true;
}

void WriteTracks(const Session& session, const std::wstring& folder, const std::vector<std::wstring>& names) {
    for (const std::wstring& name : names) {
        CHECK(session.folder.Write(folder + L"\\" + name, "not really audio"));
    }
}

std::vector<std::wstring> InListingOrder(const std::vector<std::wstring>& listing,
                                         const std::vector<std::wstring>& names) {
    std::vector<std::wstring> ordered = names;
    std::stable_sort(ordered.begin(), ordered.end(), [&](const std::wstring& a, const std::wstring& b) {
        return IndexOf(listing, a) < IndexOf(listing, b);
    });
    return ordered;
}

std::string ReadWholeFile(const std::wstring& path) {
    std::string text;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
            text.append(buffer, read);
        }
        CloseHandle(file);
    }
    return text;
}

FrameRecord RunFrames(const Session& session, rig::MediaWatch& watch, int count) {
    FrameRecord frames;
    for (int i = 0; i < count; ++i) {
        const FrameRecord frame = RunFrame(session, &watch);
        frames.natives.insert(frames.natives.end(), frame.natives.begin(), frame.natives.end());
        Append(frames.media, frame.media);
    }
    return frames;
}

}  // namespace wine_session
