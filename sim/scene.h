// Draws what the radio drew this frame, as the game would show it but without the game's art:
// each sprite as a shape of its colour and opacity (see shapes.h), the wheel's text lines, the
// cursor while the wheel is open, and a status panel of what the game and the media service are
// doing.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <map>
#include <string>
#include <vector>

#include "shapes.h"
#include "simulator.h"

namespace sim {

// The colour of the empty "game world" behind the HUD. Sprites that are not opaque blend with it.
constexpr Uint8 kBackdropRed = 84;
constexpr Uint8 kBackdropGreen = 104;
constexpr Uint8 kBackdropBlue = 78;

// The Debian font the simulator uses unless told otherwise.
constexpr char kDefaultFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct StatusInfo {
    int frame = 0;
    Controls controls;
    std::string mediaService;
    std::string hint;  // the bottom line: the keys, or what a headless run is doing
    bool labels = false;  // every sprite's rectangle and texture name over its shape
};

class SceneRenderer {
public:
    explicit SceneRenderer(std::string fontPath);
    ~SceneRenderer();
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;

    // False (with the reason in Error) when the font cannot be opened.
    bool Ready() const;
    const std::string& Error() const;

    // Draws the whole picture for a screen of width x height pixels.
    void Draw(SDL_Renderer* renderer, int width, int height, const Simulator& simulator, const StatusInfo& status);

private:
    TTF_Font* Font(int pixelSize);
    void DrawText(SDL_Renderer* renderer, const std::string& text, int pixelSize, int x, int y, bool centred,
                  SDL_Color colour, int* lineHeight = nullptr, const SDL_Color* backing = nullptr);

    std::string fontPath_;
    std::string error_;
    bool ttfStarted_ = false;
    std::map<int, TTF_Font*> fonts_;
    VertexBuffer vertices_;
};

// Saves what the renderer holds now (call it before presenting) as a BMP file.
bool SaveScreenshot(SDL_Renderer* renderer, const std::string& path, std::string& error);

// Draws one frame's picture off-screen, with no window and no display, into a BMP file.
bool RenderToFile(SceneRenderer& scene, int width, int height, const Simulator& simulator, const StatusInfo& status,
                  const std::string& path, std::string& error);

}  // namespace sim
