#include <SDL.h>

#include <iostream>
#include <string>

#include "fake_host.h"
#include "runs.h"
#include "scenario_player.h"
#include "scene.h"
#include "simulator.h"

namespace sim {

namespace {

std::string KeyHint() {
    return std::string("Hold Q+R: wheel   M mount  V vehicle  B boat  T train  C conversation  P pause menu   ") +
           (CanFinishTracks() ? "F end track   " : "") + "L labels   F12 screenshot   Esc quit";
}

bool KeyHeld(const Uint8* keys, SDL_Keycode key) {
    return keys[SDL_GetScancodeFromKey(key)] != 0;
}

}  // namespace

int RunWindow(const RunOptions& options) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
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

    int status = 0;
    {
        SceneRenderer scene(options.font);
        if (!scene.Ready()) {
            std::cerr << "trallio-sim: " << scene.Error() << '\n';
            status = 1;
        }
        Simulator simulator(options.trace);
        ScenarioPlayer player(options.scenario);
        Controls controls;
        // What the scenario sets and the mount keys toggle. Keys and buttons held on the real
        // keyboard and mouse count on top of it, so letting go of a real key never undoes a
        // scripted one.
        Controls scripted;
        const Uint32 frameMs = options.fps > 0 ? static_cast<Uint32>(1000 / options.fps) : 0;
        bool running = status == 0;
        bool labels = false;
        bool pointerShown = true;
        int screenshotCount = 0;
        const std::string* watching = nullptr;
        Uint32 nextFrame = SDL_GetTicks();

        while (running) {
            const int frame = simulator.Frame() + 1;
            bool takeScreenshot = false;
            SDL_Event event;
            while (SDL_PollEvent(&event)) {
                if (event.type == SDL_QUIT) {
                    running = false;
                } else if (event.type == SDL_KEYDOWN && event.key.repeat == 0) {
                    switch (event.key.keysym.sym) {
                        case SDLK_ESCAPE:
                            running = false;
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
                                simulator.Note("note finish ignored: the " + std::string(MediaServiceName()) +
                                               " service plays tracks to their end by itself");
                            }
                            break;
                        case SDLK_l:
                            labels = !labels;
                            break;
                        case SDLK_F12:
                            takeScreenshot = true;
                            break;
                        default:
                            break;
                    }
                } else if (event.type == SDL_MOUSEMOTION && !options.haveScenario) {
                    controls.cursorX = event.motion.x;
                    controls.cursorY = event.motion.y;
                }
            }
            if (!running) {
                break;
            }

            FrameActions actions;
            if (!BeginScenarioFrame(player, simulator, frame, scripted, actions, watching)) {
                status = 1;
                break;
            }

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
            if (options.haveScenario) {
                controls.cursorX = scripted.cursorX;
                controls.cursorY = scripted.cursorY;
            }
            int width = options.width;
            int height = options.height;
            SDL_GetRendererOutputSize(renderer, &width, &height);
            controls.clientWidth = width;
            controls.clientHeight = height;
            scripted.clientWidth = width;
            scripted.clientHeight = height;
            SDL_GetWindowPosition(window, &controls.windowX, &controls.windowY);

            if (simulator.RunFrame(controls)) {
                // The radio moved the cursor (the wheel centres it as it opens): so does the mouse.
                scripted.cursorX = controls.cursorX;
                scripted.cursorY = controls.cursorY;
                SDL_WarpMouseInWindow(window, controls.cursorX, controls.cursorY);
            }

            std::string error;
            if (!player.EndFrame(frame, simulator.WatchSeen(), actions, error)) {
                std::cerr << "trallio-sim: " << error << '\n';
                status = 1;
                break;
            }
            StatusInfo info;
            info.frame = frame;
            info.controls = controls;
            info.mediaService = MediaServiceName();
            info.hint = KeyHint();
            info.labels = labels;
            scene.Draw(renderer, width, height, simulator, info);
            // While the wheel is open the picture shows the game's cursor; the desktop's pointer
            // would only hide it.
            const bool wheelShown = !fakehost::Game().sprites.empty();
            if (wheelShown == pointerShown) {
                pointerShown = !wheelShown;
                SDL_ShowCursor(pointerShown ? SDL_ENABLE : SDL_DISABLE);
            }

            std::vector<std::string> shots = actions.screenshots;
            for (const auto& shot : options.screenshots) {
                if (shot.first == frame) {
                    shots.push_back(shot.second);
                }
            }
            if (takeScreenshot) {
                shots.push_back("trallio-sim-" + std::to_string(++screenshotCount) + ".bmp");
            }
            for (const std::string& path : shots) {
                std::string shotError;
                if (SaveScreenshot(renderer, path, shotError)) {
                    std::cerr << "trallio-sim: saved " << path << '\n';
                } else {
                    std::cerr << "trallio-sim: screenshot " << path << ": " << shotError << '\n';
                    status = 1;
                    running = false;
                }
            }
            SDL_RenderPresent(renderer);

            if (options.frames > 0 ? frame >= options.frames : (options.haveScenario && player.Finished())) {
                running = false;
            }
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
    }
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return status;
}

}  // namespace sim
