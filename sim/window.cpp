#include <SDL.h>

#include <iostream>
#include <string>

#include "fake_host.h"
#include "pad_input.h"
#include "runs.h"
#include "scenario_player.h"
#include "scene.h"
#include "simulator.h"

namespace sim {

namespace {

std::string KeyHint() {
    return std::string("Hold Q+R: wheel   G pad in use, H wheel button, arrows stick, Z A, X B, [ ] LB RB   M mount  V vehicle  B boat  T train  C conversation  P pause menu   ") +
           (CanFinishTracks() ? "F end track   " : "") + "L labels   F12 screenshot   Esc quit";
}

bool KeyHeld(const Uint8* keys, SDL_Keycode key) {
    return keys[SDL_GetScancodeFromKey(key)] != 0;
}

// One run in an open window: the simulator, its scenario and the picture, and what the keys have
// toggled.
struct WindowRun {
    WindowRun(const RunOptions& runOptions, SDL_Window* sdlWindow, SDL_Renderer* sdlRenderer)
        : options(runOptions),
          window(sdlWindow),
          renderer(sdlRenderer),
          scene(runOptions.font),
          simulator(runOptions.trace),
          player(runOptions.scenario) {}

    const RunOptions& options;
    SDL_Window* window;
    SDL_Renderer* renderer;
    SceneRenderer scene;
    Simulator simulator;
    ScenarioPlayer player;
    Controls controls;
    // What the scenario sets and the mount keys toggle. Keys and buttons held on the real
    // keyboard and mouse count on top of it, so letting go of a real key never undoes a
    // scripted one.
    Controls scripted;
    bool running = true;
    int status = 0;
    bool labels = false;
    bool pointerShown = true;
    int screenshotCount = 0;
    const std::string* watching = nullptr;
    PadDevice pad;
};

// A key pressed: the world's toggles, the labels, a screenshot, the end of the run.
void PressKey(WindowRun& run, SDL_Keycode key, bool& takeScreenshot) {
    Controls& scripted = run.scripted;
    switch (key) {
        case SDLK_ESCAPE:
            run.running = false;
            break;
        case SDLK_m:
            scripted.onMount = !scripted.onMount;
            break;
        case SDLK_v:
            scripted.inVehicle = !scripted.inVehicle;
            break;
        case SDLK_b:
            scripted.inBoat = !scripted.inBoat;
            break;
        case SDLK_t:
            scripted.inTrain = !scripted.inTrain;
            break;
        case SDLK_c:
            scripted.conversationPlaying = !scripted.conversationPlaying;
            break;
        case SDLK_p:
            scripted.pauseMenuOpen = !scripted.pauseMenuOpen;
            break;
        case SDLK_f:
            if (!FinishPlayingTracks()) {
                run.simulator.Note("note finish ignored: the " + std::string(MediaServiceName()) +
                                   " service plays tracks to their end by itself");
            }
            break;
        case SDLK_l:
            run.labels = !run.labels;
            break;
        case SDLK_F12:
            takeScreenshot = true;
            break;
        default:
            break;
    }
}

// Takes every waiting event: the window closed, keys pressed, the mouse moved (followed only when
// no scenario drives the cursor).
void TakeEvents(WindowRun& run, bool& takeScreenshot) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            run.running = false;
        } else if (HandlePadEvent(event, run.pad, run.scripted.pad)) {
            continue;
        } else if (event.type == SDL_KEYDOWN && event.key.repeat == 0) {
            PressKey(run, event.key.keysym.sym, takeScreenshot);
        } else if (event.type == SDL_MOUSEMOTION && !run.options.haveScenario) {
            run.controls.cursorX = event.motion.x;
            run.controls.cursorY = event.motion.y;
        }
    }
}

// The frame's controls: the real keys and button on top of the scripted ones, the scripted world,
// and the window's size (returned in `width` and `height`) and place.
void ReadControls(WindowRun& run, int& width, int& height) {
    Controls& controls = run.controls;
    const Controls& scripted = run.scripted;
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    int mouseX = 0;
    int mouseY = 0;
    const Uint32 buttons = SDL_GetMouseState(&mouseX, &mouseY);
    controls.keyQ = KeyHeld(keys, SDLK_q) || scripted.keyQ;
    controls.keyR = KeyHeld(keys, SDLK_r) || scripted.keyR;
    controls.leftButton = (buttons & SDL_BUTTON_LMASK) != 0 || scripted.leftButton;
    controls.onMount = scripted.onMount;
    controls.inVehicle = scripted.inVehicle;
    controls.inBoat = scripted.inBoat;
    controls.inTrain = scripted.inTrain;
    controls.conversationPlaying = scripted.conversationPlaying;
    controls.pauseMenuOpen = scripted.pauseMenuOpen;
    controls.pad = ReadPad(run.pad, keys, scripted.pad);
    if (run.options.haveScenario) {
        controls.cursorX = scripted.cursorX;
        controls.cursorY = scripted.cursorY;
    }
    width = run.options.width;
    height = run.options.height;
    SDL_GetRendererOutputSize(run.renderer, &width, &height);
    controls.clientWidth = width;
    controls.clientHeight = height;
    run.scripted.clientWidth = width;
    run.scripted.clientHeight = height;
    SDL_GetWindowPosition(run.window, &controls.windowX, &controls.windowY);
}

// Draws the frame. While the wheel is open the picture shows the game's cursor; the desktop's
// pointer would only hide it.
void DrawFrame(WindowRun& run, int frame, int width, int height) {
    StatusInfo info;
    info.frame = frame;
    info.controls = run.controls;
    info.mediaService = MediaServiceName();
    info.hint = KeyHint();
    info.labels = run.labels;
    run.scene.Draw(run.renderer, width, height, run.simulator, info);
    const bool wheelShown = !fakehost::Game().sprites.empty();
    if (wheelShown == run.pointerShown) {
        run.pointerShown = !wheelShown;
        SDL_ShowCursor(run.pointerShown ? SDL_ENABLE : SDL_DISABLE);
    }
}

// Saves the frame's pictures: the scenario's, the command line's and the one F12 asked for.
// Returns false when one could not be saved (the others are still tried).
bool SaveScreenshots(WindowRun& run, int frame, const FrameActions& actions, bool takeScreenshot) {
    std::vector<std::string> shots = actions.screenshots;
    for (const auto& shot : run.options.screenshots) {
        if (shot.first == frame) {
            shots.push_back(shot.second);
        }
    }
    if (takeScreenshot) {
        shots.push_back("trallio-sim-" + std::to_string(++run.screenshotCount) + ".bmp");
    }
    bool saved = true;
    for (const std::string& path : shots) {
        std::string shotError;
        if (SaveScreenshot(run.renderer, path, shotError)) {
            std::cerr << "trallio-sim: saved " << path << '\n';
        } else {
            std::cerr << "trallio-sim: screenshot " << path << ": " << shotError << '\n';
            saved = false;
        }
    }
    return saved;
}

// One frame in the window: events, the scenario's inputs, the radio, the picture. Returns false
// when the run ends before the frame is shown (the window closed, the scenario failed).
bool RunFrame(WindowRun& run) {
    const int frame = run.simulator.Frame() + 1;
    bool takeScreenshot = false;
    TakeEvents(run, takeScreenshot);
    if (!run.running) {
        return false;
    }
    FrameActions actions;
    if (!BeginScenarioFrame(run.player, run.simulator, frame, run.scripted, actions, run.watching)) {
        run.status = 1;
        return false;
    }
    int width = 0;
    int height = 0;
    ReadControls(run, width, height);
    if (run.simulator.RunFrame(run.controls)) {
        // The radio moved the cursor (the wheel centres it as it opens): so does the mouse.
        run.scripted.cursorX = run.controls.cursorX;
        run.scripted.cursorY = run.controls.cursorY;
        SDL_WarpMouseInWindow(run.window, run.controls.cursorX, run.controls.cursorY);
    }
    std::string error;
    if (!run.player.EndFrame(frame, run.simulator.WatchSeen(), actions, error)) {
        std::cerr << "trallio-sim: " << error << '\n';
        run.status = 1;
        return false;
    }
    DrawFrame(run, frame, width, height);
    if (!SaveScreenshots(run, frame, actions, takeScreenshot)) {
        run.status = 1;
        run.running = false;
    }
    SDL_RenderPresent(run.renderer);
    if (run.options.frames > 0 ? frame >= run.options.frames : (run.options.haveScenario && run.player.Finished())) {
        run.running = false;
    }
    return true;
}

// Runs frames until the window closes or the run ends, at the chosen rate. Returns the status.
int RunFrames(const RunOptions& options, SDL_Window* window, SDL_Renderer* renderer) {
    WindowRun run(options, window, renderer);
    if (!run.scene.Ready()) {
        std::cerr << "trallio-sim: " << run.scene.Error() << '\n';
        run.status = 1;
        run.running = false;
    }
    const Uint32 frameMs = options.fps > 0 ? static_cast<Uint32>(1000 / options.fps) : 0;
    Uint32 nextFrame = SDL_GetTicks();
    while (run.running && RunFrame(run)) {
        if (frameMs > 0) {
            nextFrame += frameMs;
            const Uint32 now = SDL_GetTicks();
            if (static_cast<int32_t>(nextFrame - now) > 0) {
                SDL_Delay(nextFrame - now);
            } else {
                nextFrame = now;
            }
        }
    }
    ClosePad(run.pad);
    return run.status;
}

}  // namespace

int RunWindow(const RunOptions& options) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) != 0) {
        std::cerr << "trallio-sim: cannot open a window: " << SDL_GetError() << '\n';
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("Trallio simulator", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          options.width, options.height, SDL_WINDOW_RESIZABLE);
    SDL_Renderer* renderer = window != nullptr ? SDL_CreateRenderer(window, -1, 0) : nullptr;
    if (window != nullptr && renderer == nullptr) {
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (renderer == nullptr) {
        std::cerr << "trallio-sim: cannot open a window: " << SDL_GetError() << '\n';
        if (window != nullptr) {
            SDL_DestroyWindow(window);
        }
        SDL_Quit();
        return 1;
    }
    const int status = RunFrames(options, window, renderer);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return status;
}

}  // namespace sim
