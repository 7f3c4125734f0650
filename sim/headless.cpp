#include <chrono>
#include <iostream>
#include <memory>
#include <thread>

#include "runs.h"
#include "scenario_player.h"
#include "scene.h"
#include "simulator.h"

namespace sim {

int RunHeadless(const RunOptions& options) {
    Simulator simulator(options.trace);
    ScenarioPlayer player(options.scenario);
    Controls controls;
    std::unique_ptr<SceneRenderer> scene;  // only for screenshots
    const auto frameTime = std::chrono::microseconds(options.fps > 0 ? 1000000 / options.fps : 0);
    auto nextFrame = std::chrono::steady_clock::now();
    const std::string* watching = nullptr;
    int status = 0;

    for (;;) {
        const int frame = simulator.Frame() + 1;
        FrameActions actions;
        if (!BeginScenarioFrame(player, simulator, frame, controls, actions, watching)) {
            status = 1;
            break;
        }
        simulator.RunFrame(controls);

        const bool seen = simulator.WatchSeen();
        std::string error;
        if (!player.EndFrame(frame, seen, actions, error)) {
            std::cerr << "trallio-sim: " << error << '\n';
            status = 1;
            break;
        }
        std::vector<std::string> shots = actions.screenshots;
        for (const auto& shot : options.screenshots) {
            if (shot.first == frame) {
                shots.push_back(shot.second);
            }
        }
        for (const std::string& path : shots) {
            if (!scene) {
                scene = std::make_unique<SceneRenderer>(options.font);
            }
            StatusInfo info;
            info.frame = frame;
            info.controls = controls;
            info.mediaService = MediaServiceName();
            std::string shotError = scene->Error();
            if (!scene->Ready() || !RenderToFile(*scene, controls.clientWidth, controls.clientHeight, simulator,
                                                 info, path, shotError)) {
                std::cerr << "trallio-sim: screenshot " << path << ": " << shotError << '\n';
                status = 1;
            }
        }
        if (status != 0) {
            break;
        }
        if (options.frames > 0 ? frame >= options.frames : player.Finished()) {
            break;
        }
        if (options.fps > 0) {
            nextFrame += frameTime;
            std::this_thread::sleep_until(nextFrame);
        }
    }
    return status;
}

}  // namespace sim
