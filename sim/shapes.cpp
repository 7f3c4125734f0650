#include "shapes.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace sim {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kFringe = 1.0f;  // pixels over which an edge fades out
constexpr int kArcPoints = 33;   // odd, so that an arc's middle is one of its points
constexpr int kRoundPoints = 72;
constexpr int kMaxPoints = 96;

// The ring segments of the four-slot menu: how far each reaches either side of its direction,
// and its inner radius as a share of its outer one.
constexpr float kSegmentHalfSpan = 40.0f * kPi / 180.0f;
constexpr float kSegmentInner = 0.55f;

constexpr char kSegmentPrefix[] = "radial_slot_shape_4_";

// A polyline of at most kMaxPoints points, on the stack.
struct Points {
    std::array<SDL_FPoint, kMaxPoints> at{};
    int count = 0;
    void Add(float x, float y) {
        if (count < kMaxPoints) {
            at[count++] = {x, y};
        }
    }
};

SDL_FPoint Plus(SDL_FPoint a, SDL_FPoint b) {
    return {a.x + b.x, a.y + b.y};
}
SDL_FPoint Minus(SDL_FPoint a, SDL_FPoint b) {
    return {a.x - b.x, a.y - b.y};
}
SDL_FPoint Times(SDL_FPoint a, float k) {
    return {a.x * k, a.y * k};
}
float Dot(SDL_FPoint a, SDL_FPoint b) {
    return a.x * b.x + a.y * b.y;
}
float Length(SDL_FPoint a) {
    return std::sqrt(Dot(a, a));
}

SDL_Vertex Vertex(SDL_FPoint at, SDL_Color colour, Uint8 alpha) {
    return {at, {colour.r, colour.g, colour.b, alpha}, {0.0f, 0.0f}};
}

// Two triangles between the edge a-b and the edge c-d (c beside a, d beside b).
void Quad(VertexBuffer& v, const SDL_Vertex& a, const SDL_Vertex& b, const SDL_Vertex& c, const SDL_Vertex& d) {
    v.push_back(a);
    v.push_back(b);
    v.push_back(c);
    v.push_back(b);
    v.push_back(d);
    v.push_back(c);
}

// The unit normal of `line` at point i, on the side away from `away`.
SDL_FPoint NormalAt(const Points& line, int i, bool closed, SDL_FPoint away) {
    const int n = line.count;
    const int prev = closed ? (i + n - 1) % n : std::max(i - 1, 0);
    const int next = closed ? (i + 1) % n : std::min(i + 1, n - 1);
    const SDL_FPoint tangent = Minus(line.at[next], line.at[prev]);
    SDL_FPoint normal{-tangent.y, tangent.x};
    const float length = Length(normal);
    if (length < 1e-6f) {
        return {0.0f, 0.0f};
    }
    normal = Times(normal, 1.0f / length);
    return Dot(normal, Minus(line.at[i], away)) < 0.0f ? Times(normal, -1.0f) : normal;
}

// A strip along `edge`, outside the shape (away from `other`), from the shape's opacity to none.
void EdgeFringe(VertexBuffer& v, const Points& edge, const Points& other, bool closed, SDL_Color colour) {
    const int segments = closed ? edge.count : edge.count - 1;
    for (int i = 0; i < segments; ++i) {
        const int j = (i + 1) % edge.count;
        const SDL_FPoint ni = Times(NormalAt(edge, i, closed, other.at[i]), kFringe);
        const SDL_FPoint nj = Times(NormalAt(edge, j, closed, other.at[j]), kFringe);
        Quad(v, Vertex(edge.at[i], colour, colour.a), Vertex(edge.at[j], colour, colour.a),
             Vertex(Plus(edge.at[i], ni), colour, 0), Vertex(Plus(edge.at[j], nj), colour, 0));
    }
}

// The same across the straight end a-b of an open band; `inside` is a point of the band.
void EndFringe(VertexBuffer& v, SDL_FPoint a, SDL_FPoint b, SDL_FPoint inside, SDL_Color colour) {
    const SDL_FPoint along = Minus(a, b);
    const float length = Length(along);
    if (length < 0.5f) {
        return;
    }
    SDL_FPoint normal = Times(SDL_FPoint{-along.y, along.x}, kFringe / length);
    if (Dot(normal, Minus(inside, a)) > 0.0f) {
        normal = Times(normal, -1.0f);
    }
    Quad(v, Vertex(a, colour, colour.a), Vertex(b, colour, colour.a), Vertex(Plus(a, normal), colour, 0),
         Vertex(Plus(b, normal), colour, 0));
}

bool IsPoint(const Points& line) {
    for (int i = 1; i < line.count; ++i) {
        if (Length(Minus(line.at[i], line.at[0])) > 0.25f) {
            return false;
        }
    }
    return true;
}

// Fills the band between two polylines of as many points (outer[i] faces inner[i]), closed into
// a loop or open with straight ends, and fringes its edges. An inner line that is one point makes
// a fan.
void Band(SDL_Renderer* renderer, VertexBuffer& v, const Points& outer, const Points& inner, bool closed,
          SDL_Color colour) {
    const int n = std::min(outer.count, inner.count);
    if (n < 2) {
        return;
    }
    v.clear();
    const int segments = closed ? n : n - 1;
    for (int i = 0; i < segments; ++i) {
        const int j = (i + 1) % n;
        Quad(v, Vertex(outer.at[i], colour, colour.a), Vertex(outer.at[j], colour, colour.a),
             Vertex(inner.at[i], colour, colour.a), Vertex(inner.at[j], colour, colour.a));
    }
    EdgeFringe(v, outer, inner, closed, colour);
    if (!IsPoint(inner)) {
        EdgeFringe(v, inner, outer, closed, colour);
    }
    if (!closed) {
        const SDL_FPoint first = Times(Plus(outer.at[1], inner.at[1]), 0.5f);
        const SDL_FPoint last = Times(Plus(outer.at[n - 2], inner.at[n - 2]), 0.5f);
        EndFringe(v, outer.at[0], inner.at[0], first, colour);
        EndFringe(v, outer.at[n - 1], inner.at[n - 1], last, colour);
    }
    SDL_RenderGeometry(renderer, nullptr, v.data(), static_cast<int>(v.size()), nullptr, 0);
}

// A polygon that every point of it can see `centre` from, filled as a fan.
void Fan(SDL_Renderer* renderer, VertexBuffer& v, const Points& outline, SDL_FPoint centre, SDL_Color colour) {
    Points hub;
    for (int i = 0; i < outline.count; ++i) {
        hub.Add(centre.x, centre.y);
    }
    Band(renderer, v, outline, hub, true, colour);
}

// Unit coordinates (0..1 across, 0..1 down) of a box, in pixels.
struct Box {
    SDL_FRect rect;
    SDL_FPoint At(float u, float w) const { return {rect.x + u * rect.w, rect.y + w * rect.h}; }
};

// The largest square centred in the rectangle: icons keep their proportions.
Box Square(const SDL_FRect& rect) {
    const float side = std::min(rect.w, rect.h);
    return {{rect.x + (rect.w - side) * 0.5f, rect.y + (rect.h - side) * 0.5f, side, side}};
}

// An ellipse of radii rx, ry (unit coordinates) around (cx, cy).
Points Ellipse(const Box& box, float cx, float cy, float rx, float ry) {
    Points points;
    for (int i = 0; i < kRoundPoints; ++i) {
        const float t = 2.0f * kPi * static_cast<float>(i) / kRoundPoints;
        const SDL_FPoint p = box.At(cx + rx * std::cos(t), cy + ry * std::sin(t));
        points.Add(p.x, p.y);
    }
    return points;
}

// An eye's outline: two parabolas meeting in points at the corners, half-width a, half-height b.
Points Lens(const Box& box, float a, float b) {
    Points points;
    for (int i = 0; i < kRoundPoints; ++i) {
        const float t = 2.0f * kPi * static_cast<float>(i) / kRoundPoints;
        const float s = std::sin(t);
        const SDL_FPoint p = box.At(0.5f + a * std::cos(t), 0.5f + b * s * std::fabs(s));
        points.Add(p.x, p.y);
    }
    return points;
}

// Segment `index` of a four-slot ring (0 top, then clockwise), scaled so that it just fills the box.
void RingSegment(SDL_Renderer* renderer, VertexBuffer& v, const Box& box, int index, SDL_Color colour) {
    const float middle = kPi * 0.5f - static_cast<float>(index) * kPi * 0.5f;
    std::array<SDL_FPoint, kArcPoints> outerArc{};
    std::array<SDL_FPoint, kArcPoints> innerArc{};
    float left = 1.0f, right = -1.0f, bottom = 1.0f, top = -1.0f;
    for (int i = 0; i < kArcPoints; ++i) {
        const float angle = middle - kSegmentHalfSpan + 2.0f * kSegmentHalfSpan * static_cast<float>(i) / (kArcPoints - 1);
        outerArc[i] = {std::cos(angle), std::sin(angle)};
        innerArc[i] = Times(outerArc[i], kSegmentInner);
        for (const SDL_FPoint& p : {outerArc[i], innerArc[i]}) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            bottom = std::min(bottom, p.y);
            top = std::max(top, p.y);
        }
    }
    Points outer;
    Points inner;
    for (int i = 0; i < kArcPoints; ++i) {
        const SDL_FPoint o = box.At((outerArc[i].x - left) / (right - left), (top - outerArc[i].y) / (top - bottom));
        const SDL_FPoint n = box.At((innerArc[i].x - left) / (right - left), (top - innerArc[i].y) / (top - bottom));
        outer.Add(o.x, o.y);
        inner.Add(n.x, n.y);
    }
    Band(renderer, v, outer, inner, false, colour);
}

// A diagonal cross: a plus sign of arm half-width t turned by 45 degrees, reaching the box's edges.
void Cross(SDL_Renderer* renderer, VertexBuffer& v, const Box& box, SDL_Color colour) {
    constexpr float t = 0.11f;
    constexpr float reach = 0.70710678f - t;  // the arms' far corners touch the box
    const float plus[12][2] = {{t, reach},   {t, t},   {reach, t},   {reach, -t}, {t, -t},   {t, -reach},
                               {-t, -reach}, {-t, -t}, {-reach, -t}, {-reach, t}, {-t, t},   {-t, reach}};
    Points outline;
    for (const auto& p : plus) {
        const SDL_FPoint at = box.At(0.5f + (p[0] - p[1]) * 0.70710678f, 0.5f + (p[0] + p[1]) * 0.70710678f);
        outline.Add(at.x, at.y);
    }
    Fan(renderer, v, outline, box.At(0.5f, 0.5f), colour);
}

// An arrow head with a notched back, pointing left or right.
void ArrowHead(SDL_Renderer* renderer, VertexBuffer& v, const Box& box, bool left, SDL_Color colour) {
    auto at = [&box, left](float u, float w) { return box.At(left ? u : 1.0f - u, w); };
    Points outer;
    Points notch;
    for (const SDL_FPoint& p : {at(0.86f, 0.1f), at(0.12f, 0.5f), at(0.86f, 0.9f)}) {
        outer.Add(p.x, p.y);
        const SDL_FPoint back = at(0.62f, 0.5f);
        notch.Add(back.x, back.y);
    }
    Band(renderer, v, outer, notch, false, colour);
}

// A round icon with an eye in it: a ring, the eye's outline and its pupil.
void Eye(SDL_Renderer* renderer, VertexBuffer& v, const Box& box, SDL_Color colour) {
    Band(renderer, v, Ellipse(box, 0.5f, 0.5f, 0.5f, 0.5f), Ellipse(box, 0.5f, 0.5f, 0.4f, 0.4f), true, colour);
    Band(renderer, v, Lens(box, 0.33f, 0.21f), Lens(box, 0.25f, 0.13f), true, colour);
    Fan(renderer, v, Ellipse(box, 0.5f, 0.5f, 0.1f, 0.1f), box.At(0.5f, 0.5f), colour);
}

// A rectangle with round corners of radius r, in cursor units around the hot spot.
Points RoundedRect(float x0, float y0, float x1, float y1, float r) {
    Points points;
    const float corners[4][3] = {{x1 - r, y1 - r, 0.0f}, {x0 + r, y1 - r, 0.5f}, {x0 + r, y0 + r, 1.0f},
                                 {x1 - r, y0 + r, 1.5f}};
    for (const auto& corner : corners) {
        for (int i = 0; i <= 6; ++i) {
            const float t = (corner[2] + static_cast<float>(i) / 12.0f) * kPi;
            points.Add(corner[0] + r * std::cos(t), corner[1] + r * std::sin(t));
        }
    }
    return points;
}

SDL_FPoint Centroid(const Points& p) {
    SDL_FPoint sum{0.0f, 0.0f};
    for (int i = 0; i < p.count; ++i) {
        sum = Plus(sum, p.at[i]);
    }
    return Times(sum, 1.0f / static_cast<float>(std::max(1, p.count)));
}

}  // namespace

bool DrawTextureShape(SDL_Renderer* renderer, VertexBuffer& vertices, const std::string& texture,
                      const SDL_FRect& rect, SDL_Color colour) {
    const Box box{rect};
    if (texture == "radial_menu_center_bg") {
        Fan(renderer, vertices, Ellipse(box, 0.5f, 0.5f, 0.5f, 0.5f), box.At(0.5f, 0.5f), colour);
    } else if (texture.size() == sizeof kSegmentPrefix && texture.compare(0, sizeof kSegmentPrefix - 1, kSegmentPrefix) == 0 &&
               texture.back() >= '0' && texture.back() <= '3') {
        RingSegment(renderer, vertices, box, texture.back() - '0', colour);
    } else if (texture == "cross") {
        Cross(renderer, vertices, Square(rect), colour);
    } else if (texture == "selection_arrow_left" || texture == "selection_arrow_right") {
        ArrowHead(renderer, vertices, Square(rect), texture == "selection_arrow_left", colour);
    } else if (texture == "itemtype_player_deadeye") {
        Eye(renderer, vertices, Square(rect), colour);
    } else {
        return false;
    }
    return true;
}

void DrawCursor(SDL_Renderer* renderer, VertexBuffer& vertices, float x, float y, int style, float scale) {
    // Convex parts in units of about a pixel, the hot spot at (0, 0): an arrow's head and tail, or
    // a hand's pointing finger, palm, folded fingers and thumb.
    std::array<Points, 5> parts;
    int count = 0;
    if (style == kCursorNormal) {
        parts[count].Add(0.0f, 0.0f);
        parts[count].Add(0.0f, 16.5f);
        parts[count++].Add(11.7f, 11.7f);
        parts[count].Add(3.4f, 12.4f);
        parts[count].Add(6.6f, 19.6f);
        parts[count].Add(9.6f, 18.3f);
        parts[count++].Add(6.6f, 11.2f);
    } else {
        parts[count++] = RoundedRect(-2.6f, 0.0f, 2.6f, 13.0f, 2.6f);
        parts[count++] = RoundedRect(-2.6f, 9.0f, 11.5f, 21.0f, 3.0f);
        parts[count++] = RoundedRect(1.8f, 7.0f, 6.6f, 12.0f, 2.2f);
        parts[count++] = RoundedRect(6.4f, 8.0f, 11.5f, 13.0f, 2.2f);
        parts[count++] = RoundedRect(-7.0f, 11.0f, -1.0f, 16.0f, 2.2f);
    }
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k < parts[i].count; ++k) {
            parts[i].at[k] = {x + parts[i].at[k].x * scale, y + parts[i].at[k].y * scale};
        }
    }
    // A dark outline (each part grown outwards), then the white parts over it.
    const SDL_Color outline{24, 24, 24, 255};
    const SDL_Color fill{250, 250, 250, 255};
    for (int i = 0; i < count; ++i) {
        const SDL_FPoint centre = Centroid(parts[i]);
        Points grown;
        for (int k = 0; k < parts[i].count; ++k) {
            const SDL_FPoint n = NormalAt(parts[i], k, true, centre);
            const SDL_FPoint p = Plus(parts[i].at[k], Times(n, 1.3f * scale));
            grown.Add(p.x, p.y);
        }
        Fan(renderer, vertices, grown, centre, outline);
    }
    for (int i = 0; i < count; ++i) {
        Fan(renderer, vertices, parts[i], Centroid(parts[i]), fill);
    }
}

}  // namespace sim
