#include "scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "fake_host.h"
#include "playback/sound_mix.h"
#include "playback/radio_state.h"

namespace sim {

namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};
constexpr SDL_Color kPanelText{230, 230, 220, 255};
constexpr SDL_Color kLabelText{255, 236, 160, 255};
constexpr SDL_Color kLabelBacking{0, 0, 0, 150};

// The font wants UTF-8. With unicode_names on, the radio's texts are UTF-8 already; otherwise they
// are bytes in the system's 8-bit code page, and bytes from 0x80 are shown as the Latin-1
// characters of the same code.
std::string ToFontText(const std::string& text) {
    if (trallio::radio.config.unicodeNames) {
        return text;
    }
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

std::string Where(const Controls& c) {
    std::string where;
    auto add = [&where](bool on, const char* what) {
        if (on) {
            where += (where.empty() ? "" : ", ") + std::string(what);
        }
    };
    add(c.onMount, "on a mount");
    add(c.inVehicle, "in a vehicle");
    add(c.inBoat, "in a boat");
    add(c.inTrain, "on a train");
    return where.empty() ? "on foot" : where;
}

std::string Number(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

SDL_Rect PixelRect(float centreX, float centreY, float width, float height, int screenWidth, int screenHeight) {
    const float left = (centreX - width * 0.5f) * static_cast<float>(screenWidth);
    const float top = (centreY - height * 0.5f) * static_cast<float>(screenHeight);
    const float right = (centreX + width * 0.5f) * static_cast<float>(screenWidth);
    const float bottom = (centreY + height * 0.5f) * static_cast<float>(screenHeight);
    SDL_Rect rect;
    rect.x = static_cast<int>(std::lround(left));
    rect.y = static_cast<int>(std::lround(top));
    rect.w = std::max(1, static_cast<int>(std::lround(right)) - rect.x);
    rect.h = std::max(1, static_cast<int>(std::lround(bottom)) - rect.y);
    return rect;
}

Uint8 Channel(int value) {
    return static_cast<Uint8>(std::clamp(value, 0, 255));
}

}  // namespace

SceneRenderer::SceneRenderer(std::string fontPath) : fontPath_(std::move(fontPath)) {
    if (TTF_Init() != 0) {
        error_ = std::string("cannot start SDL_ttf: ") + TTF_GetError();
        return;
    }
    ttfStarted_ = true;
    if (Font(14) == nullptr) {
        error_ = "cannot open the font " + fontPath_ + ": " + TTF_GetError();
    }
}

SceneRenderer::~SceneRenderer() {
    for (auto& font : fonts_) {
        TTF_CloseFont(font.second);
    }
    if (ttfStarted_) {
        TTF_Quit();
    }
}

bool SceneRenderer::Ready() const {
    return error_.empty();
}

const std::string& SceneRenderer::Error() const {
    return error_;
}

TTF_Font* SceneRenderer::Font(int pixelSize) {
    pixelSize = std::clamp(pixelSize, 6, 200);
    auto found = fonts_.find(pixelSize);
    if (found != fonts_.end()) {
        return found->second;
    }
    TTF_Font* font = TTF_OpenFont(fontPath_.c_str(), pixelSize);
    if (font != nullptr) {
        fonts_[pixelSize] = font;
    }
    return font;
}

void SceneRenderer::DrawText(SDL_Renderer* renderer, const std::string& text, int pixelSize, int x, int y,
                             bool centred, SDL_Color colour, int* lineHeight, const SDL_Color* backing) {
    TTF_Font* font = Font(pixelSize);
    if (font == nullptr) {
        return;
    }
    if (lineHeight != nullptr) {
        *lineHeight = TTF_FontLineSkip(font);
    }
    if (text.empty()) {
        return;
    }
    SDL_Surface* surface = TTF_RenderUTF8_Blended(font, ToFontText(text).c_str(), colour);
    if (surface == nullptr) {
        return;
    }
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
    if (texture != nullptr) {
        SDL_Rect target{centred ? x - surface->w / 2 : x, y, surface->w, surface->h};
        if (backing != nullptr) {
            const SDL_Rect box{target.x - 2, target.y, target.w + 4, target.h};
            SDL_SetRenderDrawColor(renderer, backing->r, backing->g, backing->b, backing->a);
            SDL_RenderFillRect(renderer, &box);
        }
        SDL_RenderCopy(renderer, texture, nullptr, &target);
        SDL_DestroyTexture(texture);
    }
    SDL_FreeSurface(surface);
}

void SceneRenderer::Draw(SDL_Renderer* renderer, int width, int height, const Simulator& simulator,
                         const StatusInfo& status) {
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, kBackdropRed, kBackdropGreen, kBackdropBlue, 255);
    SDL_RenderClear(renderer);

    // Sprites, in the order the radio drew them: each texture the radio names as its shape, any
    // other as a rectangle of its colour labelled with its texture name. With labels on, every
    // sprite shows its rectangle and texture name, in a strip along its top edge clipped to it.
    const int labelSize = std::max(9, height / 60);
    for (const fakehost::GameState::Sprite& sprite : fakehost::Game().sprites) {
        const SDL_Rect rect = PixelRect(sprite.centreX, sprite.centreY, sprite.width, sprite.height, width, height);
        const SDL_FRect exact{(sprite.centreX - sprite.width * 0.5f) * static_cast<float>(width),
                              (sprite.centreY - sprite.height * 0.5f) * static_cast<float>(height),
                              sprite.width * static_cast<float>(width), sprite.height * static_cast<float>(height)};
        const SDL_Color colour{Channel(sprite.red), Channel(sprite.green), Channel(sprite.blue), Channel(sprite.alpha)};
        const bool drawn = DrawTextureShape(renderer, vertices_, sprite.texture, exact, colour);
        if (!drawn) {
            SDL_SetRenderDrawColor(renderer, colour.r, colour.g, colour.b, colour.a);
            SDL_RenderFillRect(renderer, &rect);
        }
        if (!drawn || status.labels) {
            SDL_SetRenderDrawColor(renderer, 160, 160, 150, 120);
            SDL_RenderDrawRect(renderer, &rect);
            SDL_RenderSetClipRect(renderer, &rect);
            DrawText(renderer, sprite.texture, labelSize, rect.x + 3, rect.y + 2, false, kLabelText, nullptr,
                     &kLabelBacking);
            SDL_RenderSetClipRect(renderer, nullptr);
        }
    }

    // The radio's texts: white, centred on their x, from their y down.
    for (const HudText& text : simulator.Texts()) {
        const int size = std::max(8, static_cast<int>(std::lround(text.scale * static_cast<float>(height) * 0.075f)));
        const int x = static_cast<int>(std::lround(text.x * static_cast<float>(width)));
        int y = static_cast<int>(std::lround(text.y * static_cast<float>(height)));
        for (const std::string& line : SplitLines(text.text)) {
            int skip = size;
            DrawText(renderer, line, size, x, y, true, kWhite, &skip);
            y += skip;
        }
    }

    // The status panel: what the game and the media service are doing.
    const fakehost::GameState& game = fakehost::Game();
    const MediaStatus media = simulator.Media();
    std::vector<std::string> lines = {
        "Trallio simulator - frame " + std::to_string(status.frame),
        "Player: " + Where(status.controls),
        "Time scale: " + Number("%.2f", game.timeScale) +
            "    Effect WheelHUDIn: " + (game.effectRunning ? "running" : "off"),
        std::string("Open-world music: ") +
            (game.musicDisabled < 0 ? "untouched" : game.musicDisabled != 0 ? "off (radio on)" : "on (radio off)"),
        "Message: " + (game.lastMessage.empty() ? std::string("none")
                                                : game.lastMessage + " (shown " +
                                                      std::to_string(game.messagesShown) + " times)"),
        std::string("Game: ") + (status.controls.conversationPlaying ? "conversation playing" : "no conversation") +
            (status.controls.pauseMenuOpen ? ", pause menu open" : ""),
        "Track level: " + std::to_string(trallio::TrackVolume()) + " (wheel volume " +
            std::to_string(trallio::radio.volume) + ")",
        "Media service: " + status.mediaService,
    };
    if (media.device.empty()) {
        lines.push_back("Media device: none");
    } else {
        // The quoted path is long: the folder on one line, the file on the next.
        const size_t split = media.device.rfind('\\');
        lines.push_back("Media device: " + media.device.substr(0, split == std::string::npos ? split : split + 1));
        if (split != std::string::npos) {
            lines.push_back("    " + media.device.substr(split + 1));
        }
        lines.push_back("Mode: " + media.mode);
    }
    const int panelSize = std::max(10, height / 48);
    TTF_Font* panelFont = Font(panelSize);
    const int lineSkip = panelFont != nullptr ? TTF_FontLineSkip(panelFont) : panelSize + 4;
    int panelWidth = 0;
    for (const std::string& line : lines) {
        int lineWidth = 0;
        if (panelFont != nullptr && TTF_SizeUTF8(panelFont, ToFontText(line).c_str(), &lineWidth, nullptr) == 0) {
            panelWidth = std::max(panelWidth, lineWidth);
        }
    }
    // Kept clear of the wheel's top slot.
    panelWidth = std::min(panelWidth + 16, width * 35 / 100);
    const SDL_Rect panel{8, 8, panelWidth, lineSkip * static_cast<int>(lines.size()) + 12};
    SDL_SetRenderDrawColor(renderer, 20, 24, 20, 190);
    SDL_RenderFillRect(renderer, &panel);
    SDL_RenderSetClipRect(renderer, &panel);
    for (size_t i = 0; i < lines.size(); ++i) {
        DrawText(renderer, lines[i], panelSize, panel.x + 8, panel.y + 6 + static_cast<int>(i) * lineSkip, false,
                 kPanelText);
    }
    SDL_RenderSetClipRect(renderer, nullptr);

    if (!status.hint.empty()) {
        DrawText(renderer, status.hint, panelSize, 12, height - lineSkip - 8, false, kPanelText);
    }

    // The game shows its cursor while the wheel is on screen, in the style the radio last set.
    if (!fakehost::Game().sprites.empty()) {
        DrawCursor(renderer, vertices_, static_cast<float>(status.controls.cursorX),
                   static_cast<float>(status.controls.cursorY), fakehost::Game().cursorStyle,
                   std::max(1.0f, static_cast<float>(height) / 720.0f));
    }
}

bool SaveScreenshot(SDL_Renderer* renderer, const std::string& path, std::string& error) {
    int width = 0;
    int height = 0;
    if (SDL_GetRendererOutputSize(renderer, &width, &height) != 0) {
        error = SDL_GetError();
        return false;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) {
        error = SDL_GetError();
        return false;
    }
    bool ok = SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, surface->pixels, surface->pitch) == 0 &&
              SDL_SaveBMP(surface, path.c_str()) == 0;
    if (!ok) {
        error = SDL_GetError();
    }
    SDL_FreeSurface(surface);
    return ok;
}

bool RenderToFile(SceneRenderer& scene, int width, int height, const Simulator& simulator, const StatusInfo& status,
                  const std::string& path, std::string& error) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    bool ok = renderer != nullptr;
    if (ok) {
        scene.Draw(renderer, width, height, simulator, status);
        SDL_RenderPresent(renderer);
        ok = SDL_SaveBMP(surface, path.c_str()) == 0;
        SDL_DestroyRenderer(renderer);
    }
    if (!ok) {
        error = SDL_GetError();
    }
    SDL_FreeSurface(surface);
    return ok;
}

}  // namespace sim
