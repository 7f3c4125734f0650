// A stand-in for the game and the script hook, for tests and the simulator. It defines the
// script hook's six operations and the Win32 keyboard, mouse and window subset, answers them from
// the world below, and records every call the radio makes, in order, as one trace line each.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace fakehost {

// What the player is doing and what the desktop looks like. Tests and the simulator change it
// between frames.
// A game pad: whether the game counts it as the input in use, the buttons held down and the right
// stick (each axis -1..1, left and up negative).
struct PadInput {
    bool inUse = false;
    bool wheelButton = false;  // the control named below: D-pad down unless a test names another
    bool accept = false;       // A
    bool cancel = false;       // B
    bool leftBumper = false;
    bool rightBumper = false;
    float stickX = 0.0f;  // INPUT_LOOK_LR
    float stickY = 0.0f;  // INPUT_LOOK_UD
    const char* wheelControl = "INPUT_SELECT_RADAR_MODE";
};

// What the player does and where the game's window sits: the part of the world that the
// simulator's controls set each frame, handed over as one record.
struct PlayerInput {
    bool inVehicle = false;
    bool inBoat = false;
    bool inTrain = false;
    bool onMount = false;

    bool keyQ = false;
    bool keyR = false;
    bool leftButton = false;

    int windowX = 100;  // client area's top-left corner on the screen
    int windowY = 50;
    int clientWidth = 1920;
    int clientHeight = 1080;

    // The game's sound and menus.
    bool conversationPlaying = false;
    bool pauseMenuOpen = false;

    PadInput pad;
};

struct World : PlayerInput {
    uint32_t playerHandle = 0x2A;

    bool windowExists = true;
    bool clientRectReadable = true;
    bool cursorReadable = true;
    bool screenToClientWorks = true;
    int cursorX = 0;  // screen coordinates
    int cursorY = 0;

    // The player's voice, the desktop's window order and its clock (GetTickCount, in milliseconds).
    bool playerSpeaking = false;
    bool gameInForeground = true;
    uint32_t tickCount = 0;

    // Texture dictionaries load on the frame after they are first requested.
    bool dictionariesLoadAtOnce = false;
};

enum class EventKind { Native, Win32, Media, Wait, Register, Unregister };

struct Event {
    EventKind kind;
    std::string line;            // the trace line
    uint64_t hash = 0;           // natives only
    std::vector<uint64_t> args;  // natives only: the raw slots
    std::vector<std::string> decoded;  // natives only: each argument as FormatArg shows it
};

// Resets the world, the recording, the game's own state and the script.
void Reset();
World& GetWorld();
// Puts the cursor on a point of the window's client area given as fractions of its size.
void PointCursorAt(float fx, float fy);

// Every event recorded since the last Reset or ClearEvents.
const std::vector<Event>& Events();
void ClearEvents();
// The trace lines of the recorded events, optionally of one kind only.
std::vector<std::string> Lines();
std::vector<std::string> Lines(EventKind kind);
// Called with every event as it is recorded (the simulator writes its trace with it).
void SetEventSink(std::function<void(const Event&)> sink);
// Events of these kinds are not kept in Events() (a long run would fill memory); the sink still
// sees them.
void SetRecording(bool keep);
// Records an event from another stand-in (the recording media service).
void Record(EventKind kind, std::string line);

// The game's side effects, as the radio left them.
struct GameState {
    float timeScale = 1.0f;
    bool effectRunning = false;
    int musicDisabled = -1;  // -1: never set
    std::string lastMessage;
    int messagesShown = 0;
    int cursorStyle = 0;
    int clickSounds = 0;
    std::vector<std::string> texts;  // texts drawn this frame
    struct Sprite {
        std::string dictionary;
        std::string texture;
        float centreX, centreY, width, height;
        int red, green, blue, alpha;
    };
    std::vector<Sprite> sprites;  // sprites drawn this frame
};
GameState& Game();

// Starts the registered script (or `script`) on its own thread, in lockstep with RunFrame: each
// frame lets the script run until its next scriptWait.
void StartScript(void (*script)() = nullptr);
// Whether the calling thread is the script's (the radio's own media thread is not).
bool OnScriptThread();
// One game frame: the script runs until it waits again. Returns false when no script runs.
bool RunFrame();
// Ends the script thread: its pending scriptWait unwinds it.
void StopScript();
// The script function and module passed to scriptRegister / scriptUnregister.
void (*RegisteredScript())();
HINSTANCE RegisteredModule();
HINSTANCE UnregisteredModule();
int RegisterCount();
int UnregisterCount();

// The pad natives' answers (fake_pad.cpp): the game samples the pad at the start of each frame, and
// a control is just pressed when it is down now and was not on the frame before.
void SamplePad(const PadInput& pad);
void ResetPad();
bool AnswerPad(uint64_t hash, const std::vector<uint64_t>& args, uint64_t* result);

// Frames begun with RunFrame or BeginFrame; scriptWait calls seen.
void BeginFrame();
int FrameNumber();
int WaitCount();

}  // namespace fakehost
