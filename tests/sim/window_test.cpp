// trallio-sim's window under a virtual X server: with the wheel open and the cursor on each slot in
// turn, the screenshots show every slot in the idle or hover colour of the wheel's layout tables,
// and the station slots' ring segments leave the corners of their rectangles to the backdrop.
#include <SDL.h>

#include <cmath>
#include <cstdlib>

#include "run_program.h"
#include "scene.h"
#include "support.h"
#include "wheel/layout.h"

namespace {

using namespace testing_support;

// For the sanitizer build: SDL, X and the GL driver keep allocations for the life of the process,
// and the slow unwinder that would tell them apart deadlocks inside the driver's loading, so the
// window's leak check at exit is off; everything else ASan finds still fails the run.
const char kNoLeakCheck[] = "ASAN_OPTIONS=detect_leaks=0";

struct Rgb {
    int red;
    int green;
    int blue;
};

// The pixel a renderer leaves when it fills with `sprite`'s colour over the backdrop.
Rgb Expected(const trallio::SpriteSpec& sprite) {
    const double a = sprite.alpha / 255.0;
    auto mix = [a](int colour, int backdrop) { return static_cast<int>(std::lround(colour * a + backdrop * (1 - a))); };
    return {mix(sprite.red, sim::kBackdropRed), mix(sprite.green, sim::kBackdropGreen),
            mix(sprite.blue, sim::kBackdropBlue)};
}

class Screenshot {
public:
    explicit Screenshot(const std::string& path) {
        SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
        if (loaded != nullptr) {
            surface_ = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
            SDL_FreeSurface(loaded);
        }
    }
    ~Screenshot() { SDL_FreeSurface(surface_); }
    bool Loaded() const { return surface_ != nullptr; }
    int Width() const { return surface_->w; }
    int Height() const { return surface_->h; }
    Rgb At(int x, int y) const {
        const Uint32 pixel =
            static_cast<const Uint32*>(surface_->pixels)[y * (surface_->pitch / 4) + x];
        return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                static_cast<int>(pixel & 0xFF)};
    }
    // The pixel at the middle of a sprite's rectangle.
    Rgb AtCentreOf(const trallio::SpriteSpec& sprite) const {
        const int x = static_cast<int>((sprite.x + sprite.width * 0.5f) * static_cast<float>(Width()));
        const int y = static_cast<int>((sprite.y + sprite.height * 0.5f) * static_cast<float>(Height()));
        return At(x, y);
    }

private:
    SDL_Surface* surface_ = nullptr;
};

std::string Describe(const Rgb& c) {
    return "(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + ")";
}

// Opaque colours exactly; blended ones within the renderer's rounding.
void ExpectColour(const Rgb& seen, const trallio::SpriteSpec& sprite, const std::string& where) {
    const Rgb want = Expected(sprite);
    const int tolerance = sprite.alpha == 255 ? 0 : 2;
    EXPECT_TRUE(std::abs(seen.red - want.red) <= tolerance && std::abs(seen.green - want.green) <= tolerance &&
                std::abs(seen.blue - want.blue) <= tolerance)
        << where << ": " << Describe(seen) << ", expected " << Describe(want);
}

class SimWindow : public testing_support::RadioTest {};

// A cursor command for a point just below the slot's centre: inside the slot, while the drawn
// cursor, which hangs below its hot spot, leaves the centre pixel clear.
std::string CursorBelowCentreOf(int slot) {
    const trallio::HitRect& r = trallio::wheelHitRects[slot];
    const int x = static_cast<int>((r.x + r.width * 0.5f) * 1280.0f);
    const int y = static_cast<int>((r.y + r.height * 0.5f) * 720.0f) + 8;
    return " cursor " + std::to_string(x) + " " + std::to_string(y) + "\n";
}

TEST_F(SimWindow, EachSlotShowsTheIdleOrHoverColourOfTheLayoutTables) {
    std::string scenario =
        "1 mount on\n"
        "2 key q down\n"
        "2 key r down\n"
        "3" + CursorBelowCentreOf(trallio::Background) +
        "3 screenshot idle.bmp\n";
    for (int slot = 1; slot < trallio::kWheelSlotCount; ++slot) {
        const std::string frame = std::to_string(3 + slot);
        scenario += frame + CursorBelowCentreOf(slot);
        scenario += frame + " screenshot hover" + std::to_string(slot) + ".bmp\n";
    }
    MakeFile("wheel.scn", scenario);
    const ProgramRun run = RunProgram({"xvfb-run", "-a", "-s", "-screen 0 1600x1000x24", TRALLIO_SIM, "--window",
                                       "--scenario", "wheel.scn", "--size", "1280x720", "--fps", "0", "--no-demo"},
                                      gameFolder, {kNoLeakCheck});
    ASSERT_EQ(run.status, 0) << "(xvfb-run and xauth come with scripts/install-deps.sh)\n" << run.err;

    // The cursor on the bare background: no slot hovered.
    for (int shot = 0; shot < trallio::kWheelSlotCount; ++shot) {
        const std::string name = shot == 0 ? "idle.bmp" : "hover" + std::to_string(shot) + ".bmp";
        Screenshot screenshot(gameFolder + "/" + name);
        ASSERT_TRUE(screenshot.Loaded()) << name << ": " << SDL_GetError();
        ASSERT_EQ(screenshot.Width(), 1280);
        ASSERT_EQ(screenshot.Height(), 720);
        ExpectColour(screenshot.AtCentreOf(trallio::wheelSpritesHover[trallio::Background]),
                     trallio::wheelSpritesHover[trallio::Background], name + " background");
        for (int slot = 1; slot < trallio::kWheelSlotCount; ++slot) {
            const bool hovered = slot == shot;
            const trallio::SpriteSpec& look =
                hovered ? trallio::wheelSpritesHover[slot] : trallio::wheelSpritesIdle[slot];
            ExpectColour(screenshot.AtCentreOf(look), look,
                         name + " slot " + std::to_string(slot) + (hovered ? " (hovered)" : " (idle)"));
        }
        // The station slots are ring segments: near each corner of their rectangles, outside
        // the curved and slanted edges, the game world shows through.
        for (int slot = trallio::Station1; slot <= trallio::Station3; ++slot) {
            const trallio::SpriteSpec& s = trallio::wheelSpritesIdle[slot];
            const int left = static_cast<int>(s.x * 1280.0f) + 3;
            const int top = static_cast<int>(s.y * 720.0f) + 3;
            const int right = static_cast<int>((s.x + s.width) * 1280.0f) - 3;
            const int bottom = static_cast<int>((s.y + s.height) * 720.0f) - 3;
            const int corners[4][2] = {{left, top}, {right, top}, {left, bottom}, {right, bottom}};
            for (const auto& corner : corners) {
                const Rgb seen = screenshot.At(corner[0], corner[1]);
                EXPECT_TRUE(seen.red == sim::kBackdropRed && seen.green == sim::kBackdropGreen &&
                            seen.blue == sim::kBackdropBlue)
                    << name << " slot " << slot << " at (" << corner[0] << ", " << corner[1]
                    << "): " << Describe(seen) << ", not the backdrop";
            }
        }
    }
}

}  // namespace
