#include "widgets.h"

#include <cmath>
#include <numbers>
#include <string>

#include "glyphs.h"
#include "shapes.h"
#include "theme.h"

namespace velq::skin {
namespace {

using namespace theme;

Box Whole(const Canvas& c) {
    return {0, 0, static_cast<float>(c.Width()), static_cast<float>(c.Height())};
}

Look LookOfSuffix(std::string_view name) {
    if (name.ends_with("_02")) {
        return Look::kHover;
    }
    if (name.ends_with("_03")) {
        return Look::kActive;
    }
    return Look::kNormal;
}

// Frame buttons: plate only; the caption label sits on top.
Canvas FrameButton(int w, int h, Look look) {
    Canvas c(w, h);
    DrawPlate(c, Whole(c), 5, look);
    return c;
}

// Page tabs: a flatter plate with a light bar along the bottom edge for the current page.
Canvas Tab(int w, int h, Look look) {
    Canvas c(w, h);
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    DrawPlate(c, Whole(c), 4, look == Look::kActive ? Look::kNormal : look);
    if (look == Look::kActive) {
        const Sdf bar = RoundRect(10, fh - 4, fw - 10, fh - 1.5f, 1.2f);
        c.Glow({10, fh - 5, fw - 10, fh}, bar, WithAlpha(kAccent, 0.55f), 3.5f);
        c.Fill({10, fh - 5, fw - 10, fh}, bar, Solid(kAccent));
        c.Fill(Whole(c), RoundRect(1, 1, fw - 1, fh - 1, 3),
               VerticalGradient(0, WithAlpha(kAccent, 0.0f), fh, WithAlpha(kAccent, 0.14f)));
    }
    return c;
}

// Language buttons: a tab with a small globe mark at the left edge.
Canvas Language(int w, int h, Look look) {
    Canvas c = Tab(w, h, look);
    const float cy = static_cast<float>(h) / 2;
    const Rgba ink = look == Look::kNormal ? kMute : kAccent;
    DrawGlobe(c, 13, cy, 5.5f, ink, 1.1f);
    return c;
}

// Button slots and menu entries: a recessed field with a notch at the left.
Canvas Slot(int w, int h, Look look) {
    Canvas c(w, h);
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    const Box all = Whole(c);
    const Sdf body = RoundRect(0, 0, fw, fh, 4);
    if (look == Look::kActive) {
        c.Fill(all, body, VerticalGradient(0, kActiveTop, fh, kActiveBottom));
        c.Stroke(all, Offset(body, -0.5f), 1, Solid(WithAlpha(kAccent, 0.9f)));
    } else {
        c.Fill(all, body, VerticalGradient(0, Hex(0x0C0E12), fh, Hex(0x15181D)));
        const Rgba border = look == Look::kHover ? WithAlpha(kAccent, 0.85f) : kEdge;
        c.Stroke(all, Offset(body, -0.5f), 1, Solid(border));
        if (look == Look::kHover) {
            c.Fill(
                all, Offset(body, -1.0f),
                LinearGradient(0, 0, fw, 0, WithAlpha(kAccent, 0.16f), WithAlpha(kAccent, 0.0f)));
        }
    }
    const Rgba notch = look == Look::kNormal ? kAccentDim : kAccentHi;
    c.Fill(all, RoundRect(4, 6, 7, fh - 6, 1.5f), Solid(notch));
    return c;
}

Canvas ExitOrMinimize(int w, int h, Look look, bool exit) {
    Canvas c(w, h);
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    const Box all = Whole(c);
    const Sdf body = RoundRect(0, 0, fw, fh, 5);
    Rgba top = kPanelHi;
    Rgba bottom = kPanel;
    Rgba border = kEdgeHi;
    Rgba ink = kSoft;
    if (look == Look::kHover) {
        top = exit ? Hex(0x5A1E22) : Hex(0x2A333D);
        bottom = exit ? Hex(0x3A1215) : Hex(0x1E252D);
        border = exit ? kAlert : kAccent;
        ink = exit ? Hex(0xFFD9D9) : kAccentHi;
    } else if (look == Look::kActive) {
        top = exit ? Hex(0x7A2428) : kActiveTop;
        bottom = exit ? Hex(0x4A1518) : kActiveBottom;
        border = exit ? kAlert : kAccent;
        ink = Hex(0xFFFFFF);
    }
    c.Fill(all, body, VerticalGradient(0, top, fh, bottom));
    c.Stroke(all, Offset(body, -0.5f), 1, Solid(border));
    c.Stroke(all, RoundRect(1.5f, 1.5f, fw - 1.5f, fh - 1.5f, 3.5f), 1,
             VerticalGradient(0, kShine, fh / 2, WithAlpha(kShine, 0)));
    const float m = fw / 2;
    if (exit) {
        c.Fill(all, Capsule({m - 4.5f, m - 4.5f}, {m + 4.5f, m + 4.5f}, 1.8f), Solid(ink));
        c.Fill(all, Capsule({m - 4.5f, m + 4.5f}, {m + 4.5f, m - 4.5f}, 1.8f), Solid(ink));
    } else {
        c.Fill(all, Capsule({m - 5, m + 2.5f}, {m + 5, m + 2.5f}, 2.0f), Solid(ink));
    }
    return c;
}

// The web button: a wide plate with a globe at the left, lit when hovered or clicked.
Canvas Web(int w, int h, Look look) {
    Canvas c(w, h);
    const float fh = static_cast<float>(h);
    // _02 is the clicked picture and _03 the hover picture of this family.
    const Look plate = look == Look::kHover    ? Look::kActive
                       : look == Look::kActive ? Look::kHover
                                               : Look::kNormal;
    DrawPlate(c, Whole(c), 8, plate);
    const Rgba ink = plate == Look::kNormal ? kSoft : kAccentHi;
    if (plate != Look::kNormal) {
        c.Glow({18, fh / 2 - 14, 46, fh / 2 + 14}, Circle(32, fh / 2, 13),
               WithAlpha(kAccent, 0.25f), 6);
    }
    DrawGlobe(c, 32, fh / 2, 13, ink, 1.6f);
    return c;
}

Canvas CheckBox(int w, int h, bool on) {
    Canvas c(w, h);
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    const Box all = Whole(c);
    const Sdf box = RoundRect(1, 1, fw - 1, fh - 1, 3.5f);
    if (on) {
        c.Glow(all, box, WithAlpha(kAccent, 0.35f), 1.2f);
        c.Fill(all, box, VerticalGradient(1, kAccentHi, fh, kAccent));
        const Rgba ink = kInkOnAccent;
        c.Fill(all, Capsule({5.0f, 9.8f}, {8.0f, 12.8f}, 2.1f), Solid(ink));
        c.Fill(all, Capsule({8.0f, 12.8f}, {14.0f, 6.2f}, 2.1f), Solid(ink));
    } else {
        c.Fill(all, box, VerticalGradient(1, Hex(0x0B0D10), fh, Hex(0x171B21)));
        c.Stroke(all, Offset(box, -0.5f), 1, Solid(kEdgeHi));
    }
    return c;
}

Canvas Radio(int w, int h, bool on) {
    Canvas c(w, h);
    const float fw = static_cast<float>(w);
    const float r = fw / 2 - 1;
    const float m = fw / 2;
    const Box all = Whole(c);
    c.Fill(all, Circle(m, m, r),
           VerticalGradient(0, Hex(0x0B0D10), static_cast<float>(h), Hex(0x191D23)));
    c.Stroke(all, Circle(m, m, r - 0.5f), 1, Solid(on ? kAccent : kEdgeHi));
    if (on) {
        c.Glow(all, Circle(m, m, 3.2f), WithAlpha(kAccent, 0.6f), 1.6f);
        c.Fill(all, Circle(m, m, 3.4f), RadialGradient(m - 1, m - 1, 4, kAccentHi, kAccent));
    }
    return c;
}

// Frame around a colour swatch: the centre stays transparent so the colour shows through.
Canvas SwatchFrame(int w, int h) {
    Canvas c(w, h);
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    const Box all = Whole(c);
    c.Stroke(all, RoundRect(0.5f, 0.5f, fw - 0.5f, fh - 0.5f, 3), 1, Solid(kEdgeHi));
    c.Stroke(all, RoundRect(1.5f, 1.5f, fw - 1.5f, fh - 1.5f, 2), 1, Solid(Hex(0x000000, 0.6f)));
    return c;
}

// A segment of a step or lamp bar: a dark slot, or a lit amber segment with a soft halo.
Canvas BarCell(int w, int h, bool on) {
    Canvas c(w, h);
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    const Box all = Whole(c);
    const Sdf cell = RoundRect(2, 3, fw - 2, fh - 3, 2.5f);
    if (on) {
        c.Glow(all, cell, WithAlpha(kAccent, 0.45f), 1.6f);
        c.Fill(all, cell, VerticalGradient(3, kAccentHi, fh - 3, kAccent));
        c.Fill(all, RoundRect(4, 4, fw - 4, 6.5f, 1), Solid(Hex(0xFFFFFF, 0.35f)));
    } else {
        c.Fill(all, cell, VerticalGradient(3, Hex(0x0C0E12), fh - 3, Hex(0x1A1E24)));
        c.Stroke(all, Offset(cell, -0.5f), 1, Solid(kEdge));
    }
    return c;
}

Canvas SliderThumb(int w, int h) {
    Canvas c(w, h);
    const float m = static_cast<float>(w) / 2;
    const Box all = Whole(c);
    c.Glow(all, Circle(m, m, 8.5f), WithAlpha(kAccent, 0.35f), 2.0f);
    c.Fill(all, Circle(m, m, 9.5f), VerticalGradient(3, Hex(0x3A424D), 22, Hex(0x1C2128)));
    c.Stroke(all, Circle(m, m, 9.0f), 1.2f, Solid(kAccent));
    c.Fill(all, Circle(m, m, 3.0f), RadialGradient(m - 0.8f, m - 0.8f, 3.5f, kAccentHi, kAccent));
    (void)h;
    return c;
}

// One tile of the slider track: a groove across the whole width, so tiles join seamlessly.
Canvas SliderRuler(int w, int h) {
    Canvas c(w, h);
    const float fw = static_cast<float>(w);
    const float m = static_cast<float>(h) / 2;
    const Box all = Whole(c);
    c.Fill(
        all, [=](float, float y) { return std::fabs(y - m) - 2.5f; },
        VerticalGradient(m - 3, Hex(0x07080A), m + 3, Hex(0x1C2026)));
    c.Fill(
        all, [=](float, float y) { return std::fabs(y - (m + 3.0f)) - 0.5f; },
        Solid(Hex(0xFFFFFF, 0.06f)));
    (void)fw;
    return c;
}

// Slot indicators of the multi-slot guns: a hexagonal tile with one pip per slot.
Canvas GunMode(int size, int pips) {
    Canvas c(size, size);
    const float s = static_cast<float>(size);
    const float m = s / 2;
    const float r = m - 2;
    std::vector<Point> hex;
    for (int i = 0; i < 6; ++i) {
        const float a = static_cast<float>(i) * std::numbers::pi_v<float> / 3.0f +
                        std::numbers::pi_v<float> / 6.0f;
        hex.push_back({m + r * std::cos(a), m + r * std::sin(a)});
    }
    const Box all = Whole(c);
    const Sdf tile = Offset(Polygon(hex), -1.5f);
    c.Fill(all, tile, VerticalGradient(0, Hex(0x252B34), s, Hex(0x13161B)));
    c.Stroke(all, Offset(tile, -0.5f), 1, Solid(WithAlpha(kAccent, 0.75f)));
    const float pip = s * 0.07f;
    const float gap = pip * 3.0f;
    const float start = m - gap * static_cast<float>(pips - 1) / 2;
    for (int i = 0; i < pips; ++i) {
        const float x = start + gap * static_cast<float>(i);
        c.Glow(all, Circle(x, m, pip), WithAlpha(kAccent, 0.5f), pip);
        c.Fill(all, Circle(x, m, pip), RadialGradient(x, m, pip, kAccentHi, kAccent));
    }
    return c;
}

Canvas MacroButton(int w, int h, Look look) {
    Canvas c(w, h);
    DrawPlate(c, Whole(c), 5, look);
    if (look == Look::kAlert) {
        // Recording: a lit dot at the left so the state reads even behind the caption.
        const float cy = static_cast<float>(h) / 2;
        c.Glow({6, cy - 6, 18, cy + 6}, Circle(12, cy, 3.5f), WithAlpha(kAlert, 0.6f), 2.5f);
        c.Fill({6, cy - 6, 18, cy + 6}, Circle(12, cy, 3.5f), Solid(Hex(0xFF8A8A)));
    }
    return c;
}

struct GunModeTile {
    std::string_view name;
    int pips;
};
constexpr GunModeTile kGunModes[] = {
    {"GunMode1", 1}, {"GunMode2", 2}, {"GunMode3", 1}, {"GunMode4", 2}, {"GunMode5", 3},
};

}  // namespace

void DrawPlate(Canvas& c, const Box& box, float radius, Look look) {
    const float h = box.y1 - box.y0;
    const Sdf body = RoundRect(box.x0, box.y0, box.x1, box.y1, radius);
    const Sdf inner = RoundRect(box.x0 + 1, box.y0 + 1, box.x1 - 1, box.y1 - 1, radius - 1);
    Rgba top = kPanelHi;
    Rgba bottom = kPanel;
    Rgba border = kEdgeHi;
    switch (look) {
        case Look::kNormal:
            break;
        case Look::kHover:
            top = Hex(0x2B323C);
            bottom = Hex(0x1D2229);
            border = WithAlpha(kAccent, 0.9f);
            break;
        case Look::kActive:
            top = kActiveTop;
            bottom = kActiveBottom;
            border = kAccent;
            break;
        case Look::kAlert:
            top = Hex(0x6A2226);
            bottom = kAlertDeep;
            border = kAlert;
            break;
    }
    c.Fill(box, body, VerticalGradient(box.y0, top, box.y1, bottom));
    c.Stroke(box, Offset(body, -0.5f), 1, Solid(border));
    // Bevel: a faint light line along the top inside edge, a shade along the bottom.
    c.Stroke(box, Offset(inner, -0.5f), 1,
             VerticalGradient(box.y0, Hex(0xFFFFFF, look == Look::kNormal ? 0.09f : 0.16f),
                              box.y0 + h * 0.6f, Hex(0xFFFFFF, 0.0f)));
    if (look == Look::kHover) {
        c.Fill(
            box, inner,
            VerticalGradient(box.y0, WithAlpha(kAccent, 0.0f), box.y1, WithAlpha(kAccent, 0.12f)));
    }
}

std::optional<Canvas> DrawWidget(std::string_view name, int width, int height) {
    const Look look = LookOfSuffix(name);
    if (name.starts_with("BtnS_")) {
        return FrameButton(width, height, look);
    }
    if (name.starts_with("SetS_")) {
        return Tab(width, height, look);
    }
    if (name.starts_with("Lang_")) {
        return Language(width, height, look);
    }
    if (name.starts_with("KeyS_")) {
        return Slot(width, height, look);
    }
    if (name.starts_with("ExitS_") || name.starts_with("MiniS_")) {
        return ExitOrMinimize(width, height, look, name.starts_with("ExitS_"));
    }
    if (name.starts_with("WebS_")) {
        return Web(width, height, look);
    }
    if (name == "MacroS_04") {
        return MacroButton(width, height, Look::kAlert);
    }
    if (name.starts_with("MacroS_") || name.starts_with("MacroBtnS_")) {
        return MacroButton(width, height, look);
    }
    if (name == "CbS_D" || name == "CbS_E") {
        return CheckBox(width, height, name == "CbS_E");
    }
    if (name == "RdS_D" || name == "RdS_E") {
        return Radio(width, height, name == "RdS_E");
    }
    if (name == "Col_F") {
        return SwatchFrame(width, height);
    }
    if (name.starts_with("Bar1_") || name.starts_with("Bar2_")) {
        return BarCell(width, height, name.ends_with("_E"));
    }
    if (name == "Slider_Thumb") {
        return SliderThumb(width, height);
    }
    if (name == "Slider_Ruler") {
        return SliderRuler(width, height);
    }
    for (const GunModeTile& tile : kGunModes) {
        if (name == tile.name) {
            return GunMode(width, tile.pips);
        }
    }
    return std::nullopt;
}

}  // namespace velq::skin
