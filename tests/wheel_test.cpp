// The wheel: its layout tables, the HUD drawing primitives, and one wheel frame's drawing and hit
// test, checked on the exact calls the game sees (its clicks and volume hold: wheel_clicks_test.cpp).
#include "wheel/hud.h"
#include "wheel_fixture.h"

namespace {

using namespace wheel_test;

TEST(Layout, StoredValuesAreBitExact) {
    const uint32_t expected[8][4] = {
        {0x3EC28F5C, 0x3EB33333, 0x3E851EB8, 0x3EE147AE},  // 0.38 0.35 0.26 0.44
        {0x3EE7EF9E, 0x3F51EB85, 0x3DCCCCCD, 0x3E0F5C29},  // 0.453 0.82 0.1 0.14
        {0x3EB851EC, 0x3E199999, 0x3E99999A, 0x3E6B851F},  // 0.36 0.14999999 0.3 0.23
        {0x3E7AE148, 0x3EAB851E, 0x3E19999A, 0x3EF5C28F},  // 0.245 0.33499998 0.15 0.48
        {0x3F1EB852, 0x3EAB851E, 0x3E19999A, 0x3EF5C28F},  // 0.62 0.33499998 0.15 0.48
        {0x3DA3D70C, 0x3F000000, 0x3D75C28F, 0x3DCCCCCD},  // 0.08000001 0.5 0.06 0.1
        {0x3F59999A, 0x3F000000, 0x3D75C28F, 0x3DCCCCCD},  // 0.85 0.5 0.06 0.1
        {0x3EF5C28F, 0x3F2147AE, 0x3D75C28F, 0x3D75C28F},  // 0.48 0.63 0.06 0.06
    };
    for (int s = 0; s < trallio::kWheelSlotCount; ++s) {
        const trallio::HitRect& r = trallio::wheelHitRects[s];
        EXPECT_EQ(Bits(r.x), expected[s][0]) << "slot " << s;
        EXPECT_EQ(Bits(r.y), expected[s][1]) << "slot " << s;
        EXPECT_EQ(Bits(r.width), expected[s][2]) << "slot " << s;
        EXPECT_EQ(Bits(r.height), expected[s][3]) << "slot " << s;
        for (const trallio::SpriteSpec* table : {trallio::wheelSpritesHover, trallio::wheelSpritesIdle}) {
            EXPECT_EQ(Bits(table[s].x), expected[s][0]);
            EXPECT_EQ(Bits(table[s].y), expected[s][1]);
            EXPECT_EQ(Bits(table[s].width), expected[s][2]);
            EXPECT_EQ(Bits(table[s].height), expected[s][3]);
            EXPECT_EQ(Bits(table[s].heading), 0u);
        }
    }
}

TEST(Layout, LooksDifferOnlyInColour) {
    const int hover[8][4] = {{0, 0, 0, 255},    {220, 0, 0, 255}, {41, 41, 41, 255}, {41, 41, 41, 255},
                             {41, 41, 41, 255}, {0, 0, 0, 255},   {0, 0, 0, 255},    {41, 41, 41, 255}};
    const int idle[8][4] = {{0, 0, 0, 255}, {255, 255, 255, 255}, {0, 0, 0, 255}, {0, 0, 0, 255},
                            {0, 0, 0, 255}, {0, 0, 0, 150},       {0, 0, 0, 150}, {220, 0, 0, 255}};
    const char* names[8][2] = {
        {"hud_radial_menu", "radial_menu_center_bg"}, {"menu_textures", "cross"},
        {"hud_radial_menu", "radial_slot_shape_4_0"}, {"hud_radial_menu", "radial_slot_shape_4_3"},
        {"hud_radial_menu", "radial_slot_shape_4_1"}, {"generic_textures", "selection_arrow_left"},
        {"generic_textures", "selection_arrow_right"}, {"itemtype_textures", "itemtype_player_deadeye"},
    };
    for (int s = 0; s < trallio::kWheelSlotCount; ++s) {
        const trallio::SpriteSpec& h = trallio::wheelSpritesHover[s];
        const trallio::SpriteSpec& i = trallio::wheelSpritesIdle[s];
        EXPECT_STREQ(h.dictionary, names[s][0]);
        EXPECT_STREQ(h.texture, names[s][1]);
        EXPECT_STREQ(i.dictionary, names[s][0]);
        EXPECT_STREQ(i.texture, names[s][1]);
        EXPECT_EQ((std::vector<int>{h.red, h.green, h.blue, h.alpha}), std::vector<int>(hover[s], hover[s] + 4)) << s;
        EXPECT_EQ((std::vector<int>{i.red, i.green, i.blue, i.alpha}), std::vector<int>(idle[s], idle[s] + 4)) << s;
    }
}

class Hud : public testing_support::RadioTest {};

TEST_F(Hud, TextIsWhiteCentredAtTheWheelsMiddle) {
    trallio::DrawHudText("Vol: 90", 0.7f, 0.56f, 0.56f);
    const auto lines = LinesStartingWith("native ");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "native 0x16FA5CE47F184F1E SET_TEXT_COLOR(255, 255, 255, 255)");
    EXPECT_EQ(lines[1], "native 0xA1253A3C870B6843 SET_TEXT_SCALE(0.560000002, 0.560000002)");
    EXPECT_EQ(lines[2], "native 0xBE5261939FBECB8C SET_TEXT_CENTRE(1)");
    EXPECT_EQ(lines[3], "native 0xFA925AC00EB830B9 CREATE_VAR_STRING(10, \"LITERAL_STRING\", \"Vol: 90\")");
    // The text value the game made is handed back whole.
    const auto events = testing_support::NativeEvents();
    EXPECT_EQ(events[4].hash, 0x16794E044C9EFB58u);
    ASSERT_EQ(events[4].args.size(), 3u);
    EXPECT_EQ(events[4].args[0] >> 32, 0x54455854u);
    EXPECT_EQ(events[4].args[1], 0x3F028F5Cu);
    EXPECT_EQ(events[4].args[2], Bits(0.7f));
    EXPECT_EQ(fakehost::Game().texts, std::vector<std::string>{"Vol: 90"});
}

TEST_F(Hud, SpriteChecksRequestsDrawsCentredAndReleasesItsDictionary) {
    const trallio::SpriteSpec& bg = trallio::wheelSpritesHover[0];
    trallio::DrawHudSprite(bg.dictionary, bg.texture, bg.x, bg.y, bg.width, bg.height, bg.heading, bg.red, bg.green,
                           bg.blue, bg.alpha);
    std::vector<std::string> expected = {
        "native 0x54D6900929CCF162 HAS_STREAMED_TEXTURE_DICT_LOADED(\"hud_radial_menu\")",
        "native 0xC1BA29DF5631B0F8 REQUEST_STREAMED_TEXTURE_DICT(\"hud_radial_menu\", 0)",
        "native 0xC9884ECADE94CB34 DRAW_SPRITE(\"hud_radial_menu\", \"radial_menu_center_bg\", 0.50999999, "
        "0.569999993, 0.25999999, 0.439999998, 0, 0, 0, 0, 255, 1)",
        "native 0x4ACA10A91F66F1E2 SET_STREAMED_TEXTURE_DICT_AS_NO_LONGER_NEEDED(\"hud_radial_menu\")",
    };
    EXPECT_EQ(LinesStartingWith("native "), expected);
    // Once the game has loaded the dictionary: check, draw, release.
    fakehost::BeginFrame();
    fakehost::ClearEvents();
    trallio::DrawHudSprite(bg.dictionary, bg.texture, bg.x, bg.y, bg.width, bg.height, bg.heading, bg.red, bg.green,
                           bg.blue, bg.alpha);
    EXPECT_EQ(LinesStartingWith("native "),
              (std::vector<std::string>{expected[0], expected[2], expected[3]}));
}

TEST_F(Wheel, FrameWithNothingHoveredDrawsEverySlotIdle) {
    PointAt(0.51f, 0.5f);  // the bare background: inside slot 0 only
    WheelFrame(false);
    std::vector<std::string> expected = {SpriteLine(trallio::wheelSpritesHover[0])};
    for (int s = 1; s < trallio::kWheelSlotCount; ++s) {
        expected.push_back(SpriteLine(trallio::wheelSpritesIdle[s]));
    }
    EXPECT_EQ(DrawSpriteLines(), expected);
    EXPECT_EQ(NativeLines("SET_CURSOR_STYLE"), std::vector<std::string>{"native 0x7F5858AAB5A58CCE SET_CURSOR_STYLE(0)"});
    EXPECT_EQ(fakehost::Game().texts, std::vector<std::string>{"Vol: 90"}) << "no now-playing text without a track";
    EXPECT_TRUE(LinesStartingWith("media ").empty());
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(Wheel, HitTestReadsWindowRectangleAndCursorAfreshForEverySlot) {
    PointAt(0.51f, 0.5f);
    WheelFrame(false);
    const auto win32 = LinesStartingWith("win32 ");
    ASSERT_EQ(win32.size(), 28u);
    for (int s = 0; s < 7; ++s) {
        EXPECT_EQ(win32[4 * s], "win32 FindWindowA(null, \"Red Dead Redemption 2\") = 0x1234");
        EXPECT_EQ(win32[4 * s + 1], "win32 GetClientRect(0x1234) = (0,0,1920,1080)");
        EXPECT_EQ(win32[4 * s + 2], "win32 GetCursorPos() = (1079,590)");
        EXPECT_EQ(win32[4 * s + 3], "win32 ScreenToClient(0x1234, (1079,590)) = (979,540)");
    }
}

TEST_F(Wheel, HoveredSlotIsDrawnInItsHoverLookAndSetsTheCursorStyle) {
    WheelFrameOn(trallio::Skip, false);
    const auto sprites = DrawSpriteLines();
    ASSERT_EQ(sprites.size(), 8u);
    EXPECT_EQ(sprites[7], SpriteLine(trallio::wheelSpritesHover[trallio::Skip]));
    EXPECT_EQ(sprites[6], SpriteLine(trallio::wheelSpritesIdle[trallio::VolumeUp]));
    EXPECT_EQ(NativeLines("SET_CURSOR_STYLE"),
              (std::vector<std::string>{"native 0x7F5858AAB5A58CCE SET_CURSOR_STYLE(0)",
                                        "native 0x7F5858AAB5A58CCE SET_CURSOR_STYLE(11)"}));
    // Hovered with the button up and no latch: the click edge only looks at the button.
    EXPECT_EQ(LinesStartingWith("win32 GetKeyState"), std::vector<std::string>{"win32 GetKeyState(0x1) = 0x0"});
}

// Every stand-in aims at a slot through SlotCentre: at each window size the radio sees the cursor
// over that slot alone, drawn in its hover look.
TEST_F(Wheel, EverySlotCentreHoversThatSlotAloneAtEveryWindowSize) {
    const int sizes[][2] = {{1920, 1080}, {1280, 720}, {800, 600}, {3840, 2160}, {1366, 768}};
    for (const auto& size : sizes) {
        fakehost::GetWorld().clientWidth = size[0];
        fakehost::GetWorld().clientHeight = size[1];
        for (int slot = trallio::Off; slot <= trallio::Skip; ++slot) {
            WheelFrameOn(slot, false);
            const auto sprites = DrawSpriteLines();
            ASSERT_EQ(sprites.size(), 8u);
            EXPECT_EQ(sprites[slot], SpriteLine(trallio::wheelSpritesHover[slot]))
                << "slot " << slot << " at " << size[0] << " x " << size[1];
            EXPECT_EQ(NativeLines("SET_CURSOR_STYLE").size(), 2u)
                << "one slot hovered: " << slot << " at " << size[0] << " x " << size[1];
        }
    }
}

TEST_F(Wheel, EveryEdgeOfARectangleCountsAsInside) {
    // Slot 6 (volume up): x 0.85..0.91, y 0.5..0.6 on a 1000 x 1000 client area, whose edges fall
    // on whole pixels: left 850, right 910, top 500, bottom 600.
    fakehost::World& w = fakehost::GetWorld();
    w.clientWidth = 1000;
    w.clientHeight = 1000;
    const int slot = trallio::VolumeUp;
    const trallio::HitRect& r = trallio::wheelHitRects[slot];
    const float left = r.x * 1000.0f;
    const float top = r.y * 1000.0f;
    const int l = static_cast<int>(left);
    const int t = static_cast<int>(top);
    const int right = static_cast<int>(left + r.width * 1000.0f);
    const int bottom = static_cast<int>(top + r.height * 1000.0f);
    ASSERT_EQ(static_cast<float>(l), left);
    ASSERT_EQ(static_cast<float>(t), top);
    ASSERT_EQ(static_cast<float>(right), left + r.width * 1000.0f);
    ASSERT_EQ(static_cast<float>(bottom), top + r.height * 1000.0f);
    const struct {
        int x, y;
        bool inside;
    } points[] = {{l, 550, true},          {right, 550, true},      {880, t, true},        {880, bottom, true},
                  {l - 1, 550, false},     {right + 1, 550, false}, {880, t - 1, false},   {880, bottom + 1, false},
                  {l, t, true},            {right, bottom, true}};
    for (const auto& p : points) {
        w.cursorX = w.windowX + p.x;
        w.cursorY = w.windowY + p.y;
        WheelFrame(false);
        EXPECT_EQ(DrawSpriteLines()[slot], SpriteLine(p.inside ? trallio::wheelSpritesHover[slot] : trallio::wheelSpritesIdle[slot]))
            << p.x << "," << p.y;
    }
}

TEST_F(Wheel, OverlapOfTopAndLeftSegmentsHoversBothAndTheTopTakesTheClick) {
    PointAt(0.38f, 0.36f);  // inside slot 2 (0.36..0.66, 0.15..0.38) and slot 3 (0.245..0.395, 0.335..0.815)
    WheelFrame(true);
    const auto sprites = DrawSpriteLines();
    EXPECT_EQ(sprites[2], SpriteLine(trallio::wheelSpritesHover[trallio::Station1]));
    EXPECT_EQ(sprites[3], SpriteLine(trallio::wheelSpritesHover[trallio::Station2]));
    EXPECT_EQ(CountNatives("SET_CURSOR_STYLE"), 3);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(radio.currentFolder, radio.stationFolders[0]);
    EXPECT_TRUE(radio.radioOn);
    EXPECT_TRUE(radio.stationSwitchPending);
}

TEST_F(Wheel, NowPlayingTextAndVolumeAreShownAndSentEveryFrame) {
    PlayTrack();
    PointAt(0.01f, 0.01f);
    WheelFrame(false);
    EXPECT_EQ(fakehost::Game().texts, (std::vector<std::string>{"S1\na.mp3\n", "Vol: 90"}));
    const auto scales = NativeLines("SET_TEXT_SCALE");
    EXPECT_EQ(scales, (std::vector<std::string>{"native 0xA1253A3C870B6843 SET_TEXT_SCALE(0.360000014, 0.360000014)",
                                                "native 0xA1253A3C870B6843 SET_TEXT_SCALE(0.560000002, 0.560000002)"}));
    const auto events = testing_support::NativeEvents();
    std::vector<uint32_t> ys;
    for (const auto& e : events) {
        if (e.hash == 0x16794E044C9EFB58u) {
            ys.push_back(static_cast<uint32_t>(e.args[2]));
        }
    }
    EXPECT_EQ(ys, (std::vector<uint32_t>{Bits(0.51f), Bits(0.7f)}));
    EXPECT_EQ(LinesStartingWith("media "), std::vector<std::string>{"media setaudio \"S1\\a.mp3\" volume to 90 -> 263"});
}

TEST_F(Wheel, LongNowPlayingTextKeepsItsFirst63Bytes) {
    const std::string folder(40, 'f');
    const std::string track(40, 't');
    radio.currentFolder = folder.c_str();
    radio.currentTrack = track.c_str();
    WheelFrame(false);
    ASSERT_EQ(fakehost::Game().texts.size(), 2u);
    EXPECT_EQ(fakehost::Game().texts[0], (folder + "\n" + track).substr(0, 63));
}

TEST_F(Wheel, PausedRadioDrawsTheRedCrossLast) {
    PlayTrack();
    radio.paused = true;
    PointAt(0.01f, 0.01f);
    WheelFrame(false);
    const auto sprites = DrawSpriteLines();
    ASSERT_EQ(sprites.size(), 9u);
    EXPECT_EQ(sprites[1], SpriteLine(trallio::wheelSpritesIdle[trallio::Off]));
    EXPECT_EQ(sprites[8], SpriteLine(trallio::wheelSpritesHover[trallio::Off]));
    // After both texts.
    const auto natives = LinesStartingWith("native ");
    EXPECT_EQ(natives[natives.size() - 2], sprites[8]);
}

TEST_F(Wheel, UnreadableWindowOrCursorHoversNothing) {
    PointAtSlot(trallio::Station1);
    for (int failure = 0; failure < 4; ++failure) {
        fakehost::World& w = fakehost::GetWorld();
        w.windowExists = failure != 0;
        w.clientRectReadable = failure != 1;
        w.cursorReadable = failure != 2;
        w.screenToClientWorks = failure != 3;
        WheelFrame(true);
        EXPECT_EQ(Clicks(), 0) << "failure " << failure;
        EXPECT_EQ(CountNatives("SET_CURSOR_STYLE"), 1);
        EXPECT_EQ(DrawSpriteLines()[2], SpriteLine(trallio::wheelSpritesIdle[trallio::Station1]));
        EXPECT_EQ(fakehost::Game().texts, std::vector<std::string>{"Vol: 90"});
    }
    EXPECT_EQ(radio.currentFolder, trallio::emptyText);
}

TEST_F(Wheel, ZeroSizedClientAreaStillNeverCrashes) {
    fakehost::World& w = fakehost::GetWorld();
    w.clientWidth = 0;
    w.clientHeight = 0;
    w.cursorX = w.windowX;
    w.cursorY = w.windowY;
    WheelFrame(true);
    // Every rectangle shrinks to the client origin, where the cursor is: all seven are hovered and
    // the lowest, the off button, takes the click.
    EXPECT_EQ(CountNatives("SET_CURSOR_STYLE"), 8);
    EXPECT_TRUE(radio.stoppedByUser);
}

}  // namespace
