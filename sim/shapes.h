// The game's art for the textures the radio names, drawn from shapes alone: the round centre
// background, the ring segments of a four-slot radial menu, the off cross, the selection arrows,
// the skip eye, and the mouse cursor. Edges are smoothed with a one-pixel fringe that fades to
// transparent.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

namespace sim {

// The cursor styles the radio sets.
constexpr int kCursorNormal = 0;
constexpr int kCursorHover = 11;

// Triangles collected for one shape; kept between frames so drawing allocates nothing once warm.
using VertexBuffer = std::vector<SDL_Vertex>;

// Draws the texture's shape so that it fills `rect`, in `colour` (its alpha included). Returns
// false, drawing nothing, for a texture it has no shape for.
bool DrawTextureShape(SDL_Renderer* renderer, VertexBuffer& vertices, const std::string& texture,
                      const SDL_FRect& rect, SDL_Color colour);

// Draws the mouse cursor with its hot spot at (x, y): an arrow for the normal style, a pointing
// hand for the hover style (and any other). `scale` 1 draws it about 20 pixels tall.
void DrawCursor(SDL_Renderer* renderer, VertexBuffer& vertices, float x, float y, int style, float scale);

}  // namespace sim
