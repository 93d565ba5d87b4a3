// The scene as a person sees it: at start with the generated data and with the fallbacks that missing
// images and samples and a broken shader leave; then centred by a drag, changing hands, paddling away,
// gliding to rest, turning each way, stirring the water; and --help.
#include "e2e/harness.h"

#include <cstdio>

using e2e::bark;
using e2e::quit;
using e2e::Rgb;

namespace {

// The clear colour (0, 0, 128) shows only where nothing at all was drawn.
const auto clearColour = [](Rgb c) { return c.r < 8 && c.g < 8 && c.b > 110 && c.b < 146; };
// The right third of the lower screen is open water at the start.
const int WATER_X0 = 880;

// The bow half against the sky (the horizon is below row 538), clear of the paddler (from x 125 on):
// only the rocking changes it.
double bowChange(const e2e::Screenshot& a, const e2e::Screenshot& b) {
    return e2e::meanDifference(a, b, 0, 470, 110, 536);
}

// The first frames can be slow to reach the screen (a sanitizer build): waits up to 5 s for the hull.
e2e::Screenshot canoeShot(e2e::Session& session, const std::string& name = "") {
    e2e::Screenshot shot = session.screenshot(name);
    for (int tries = 0; tries < 10 && shot.fraction(0, 512, 200, 538, bark) < 0.6; tries++) {
        session.sleep(0.5);
        shot = session.screenshot(name);
    }
    return shot;
}

TEST(Start, QuietWindowCanoeRockingSkyWaterCountersAndEsc) {
    e2e::Session session;
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow()) << session.console();
    std::string console = session.console();
    EXPECT_EQ(console.rfind("program is loading.. \n", 0), 0u) << console;
    for (const char* complaint :
         {"K.man", "K.pad", "bad tga", "paddle texture", "does not compile", "do not link", "false on D"})
        EXPECT_EQ(console.find(complaint), std::string::npos) << console;

    e2e::Screenshot first = canoeShot(session, "start");
    ASSERT_TRUE(first.width == 1280 && first.height == 1024);
    auto black = [](Rgb c) { return c.r < 16 && c.g < 16 && c.b < 16; };
    for (int corner = 0; corner < 4; corner++) { // none of Xvfb's black root shows
        int x = corner % 2 * 1270, y = corner / 2 * 1014;
        EXPECT_LT(first.fraction(x, y, x + 10, y + 10, black), 0.5) << "corner " << corner;
    }

    // The hull runs from beyond the left edge to its stern near x = 213, a little below the horizon; the
    // canoe's origin (about pixel (103, 533)) lies on it.
    EXPECT_GT(first.fraction(0, 512, 200, 538, bark), 0.6);
    EXPECT_GT(first.fraction(98, 525, 108, 535, bark), 0.5);
    EXPECT_GT(first.fraction(0, 512, 3, 536, bark), 0.5) << "the bow runs off the left edge";
    EXPECT_LT(first.fraction(260, 520, 420, 560, bark), 0.01) << "nothing of the hull beyond its stern";
    EXPECT_LT(first.fraction(640, 545, 1280, 1024, bark), 0.01) << "no canoe on the right";
    auto darkMark = [](Rgb c) { return c.r < 110 && c.g < 90 && c.b < 80 && c.r >= c.b; };
    EXPECT_GT(first.fraction(0, 512, 200, 538, darkMark), 0.02) << "textured: lenticels and gummed seams";
    EXPECT_GT(first.fraction(0, 560, 220, 600, [](Rgb c) { return c.b > c.r + 30; }), 0.8)
        << "the sea lies in front of the hull's bottom";

    // Sky light and blue above; blue-green water below over every pixel (no seams between tiles), brighter
    // toward the horizon (Fresnel), never black (broken heights or normals).
    Rgb sky = first.mean(0, 0, 1280, 420), water = first.mean(WATER_X0, 600, 1280, 1024);
    EXPECT_TRUE(sky.b > sky.r && sky.r + sky.g + sky.b > 360) << sky.r << "," << sky.g << "," << sky.b;
    EXPECT_GT(water.b, water.r) << water.r << "," << water.g << "," << water.b;
    EXPECT_LT(first.fraction(0, 0, 1280, 420, clearColour), 0.001);
    EXPECT_EQ(first.fraction(0, 540, 1280, 1024, clearColour), 0.0);
    Rgb far = first.mean(WATER_X0, 545, 1280, 600), near = first.mean(WATER_X0, 900, 1280, 1024);
    EXPECT_GT(far.r + far.g + far.b, near.r + near.g + near.b + 45) << "far water brighter than near";
    EXPECT_LT(first.fraction(WATER_X0, 600, 1280, 1024, [](Rgb c) { return c.r + c.g + c.b < 18; }), 0.001);

    // A second later the water has moved and the sky right of the paddler has not; the bow half against
    // the sky changes as the canoe rocks (within 1.6 s more, whatever the phase of the cycle).
    session.sleep(1.0);
    e2e::Screenshot second = session.screenshot("start-second");
    EXPECT_GT(e2e::meanDifference(first, second, WATER_X0, 600, 1280, 1024), 2.0);
    EXPECT_LT(e2e::meanDifference(first, second, 400, 0, 1280, 380), 0.5);
    double rocked = bowChange(first, second);
    for (int shot = 0; shot < 8 && rocked <= 1.0; shot++) {
        session.sleep(0.2);
        rocked = std::max(rocked, bowChange(first, session.screenshot()));
    }
    EXPECT_GT(rocked, 1.0) << "no rocking";

    // The counters: two lines of white text with a black shadow in the lower left corner, baselines 75 and
    // 55 pixels above the bottom edge; a second 'c' hides them.
    session.key("c");
    session.sleep(1.5);
    e2e::Screenshot shown = session.screenshot("start-counters");
    const int x0 = 10, x1 = 200, y0 = 1024 - 95, y1 = 1024 - 45;
    auto white = [](Rgb c) { return c.r > 240 && c.g > 240 && c.b > 240; };
    EXPECT_GT(shown.fraction(x0, y0, x1, y1, black), 0.02);
    EXPECT_GT(shown.fraction(x0, 1024 - 90, x1, 1024 - 72, white), 0.01) << "frames a second";
    EXPECT_GT(shown.fraction(x0, 1024 - 70, x1, 1024 - 52, white), 0.01) << "water tiles";
    session.key("c");
    session.sleep(1.0);
    EXPECT_LT(session.screenshot().fraction(x0, y0, x1, y1, white), shown.fraction(x0, y0, x1, y1, white));

    e2e::quit(session);
}

// Without canoe textures, sky and sea images and stroke samples, and with a fragment program that does not
// compile, the canoe is plain and level, the sky grey, and the unshaded water mirrors the sky's cube.
TEST(Start, MissingImagesAndSamplesAndABrokenShaderStillLeaveTheScene) {
    e2e::Session session;
    for (const char* name :
         {"birch.bmp", "theseat.bmp", "kkk.bmp", "fstroke.stroke", "cloudy1.jpg", "bottom.jpg", "iyneg.bmp"})
        std::remove((session.folder() + "/" + name).c_str());
    std::ofstream(session.folder() + "/f.cg") << "#version 120\nvoid frag() { this is not a program }\n";
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow()) << session.console();
    e2e::Screenshot a = canoeShot(session);
    session.sleep(1.5); // half a cycle: the largest tilt if it rocked
    e2e::Screenshot b = session.screenshot("start-fallbacks");
    EXPECT_GT(a.fraction(0, 512, 200, 538, bark), 0.5);
    EXPECT_LT(bowChange(a, b), 0.5);
    Rgb sky = b.mean(0, 0, 1280, 300), water = b.mean(WATER_X0, 600, 1280, 1024);
    EXPECT_TRUE(std::abs(sky.r - 128) <= 6 && std::abs(sky.b - 128) <= 6) << sky.r << "," << sky.b;
    EXPECT_EQ(b.fraction(0, 540, 1280, 1024, clearColour), 0.0);
    EXPECT_GT(water.b, water.r + 10) << water.r << "," << water.g << "," << water.b;
    EXPECT_NE(session.console().find("f.cg: the fragment program does not compile"), std::string::npos);
    e2e::quit(session);
}

// Warm colours against the blue sky: skin, hair, clothes, the paddle's wood.
const auto warm = [](Rgb c) { return c.r > c.b + 25; };
bool skin(Rgb c) {
    return c.r > 170 && c.g > 110 && c.b > 80 && c.r > c.g && c.g > c.b && c.r - c.b < 130 && c.r - c.g < 70;
}

// Where the canoe lies on screen: the first and last columns holding a few bark pixels near the horizon,
// and the hull's lowest row between them.
struct Extent {
    int left = -1, right = -1, bottom = 0;
    int width() const { return right - left; }
    double middle() const { return (left + right) / 2.0; }
};
Extent canoeExtent(const e2e::Screenshot& shot) {
    Extent e;
    for (int x = 0; x < shot.width; ++x) {
        int count = 0, lowest = 0;
        for (int y = 400; y < 640; ++y)
            if (bark(shot.at(x, y))) {
                ++count;
                lowest = y;
            }
        if (count < 3) continue;
        e.bottom = std::max(e.bottom, lowest);
        if (e.left < 0) e.left = x;
        e.right = x;
    }
    return e;
}

double since(std::chrono::steady_clock::time_point begin) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

// Starts the program and turns the view 40 degrees toward the canoe, which then lies in the middle.
bool startCentred(e2e::Session& session) {
    if (!session.start() || !session.waitForWindow()) return false;
    session.sleep(1.0);
    session.drag(960, 512, 640, 512);
    session.sleep(1.5);
    return true;
}

TEST(Paddling, PaddlerKneelsInTheSternChangesHandsPaddlesAwayAndGlidesToRest) {
    e2e::Session session;
    ASSERT_TRUE(startCentred(session)) << session.console();
    e2e::Screenshot rest = session.screenshot("paddling-centred");
    Extent canoe = canoeExtent(rest);
    ASSERT_GT(canoe.width(), 120) << "the canoe is centred";
    EXPECT_NEAR(canoe.middle(), 610, 60);
    // Above the stern gunwale (the canoe's right end, its bow pointing left): a person, not sky.
    const int x0 = canoe.right - 70, x1 = canoe.right - 5, y0 = 440, y1 = 505;
    EXPECT_GT(rest.fraction(x0, y0, x1, y1, warm), 0.12) << "the paddler above the stern";
    EXPECT_GT(rest.fraction(x0, y0, x1, y1, skin), 0.005) << "a face and hands";
    EXPECT_GT(rest.fraction(x0, y0, x1, y1, [](Rgb c) { return warm(c) && !skin(c) && !bark(c); }), 0.05)
        << "clothes";
    EXPECT_LT(rest.fraction(canoe.left, y0, canoe.left + 60, y1 - 20, warm), 0.05) << "nobody in the bow";

    // Once the idle clip (3 s) is over, the change of hands lifts the paddle above the head; then the
    // strokes drive the canoe forward, which on screen is to the left.
    auto top = [&](const e2e::Screenshot& s) {
        for (int y = 380; y < y1; ++y)
            for (int x = x0 - 20; x < x1 + 20; ++x)
                if (warm(s.at(x, y))) return y;
        return y1;
    };
    int restTop = top(rest), highest = restTop;
    session.key("w");
    const auto begin = std::chrono::steady_clock::now();
    while (since(begin) < 5.5)
        highest = std::min(highest, top(session.screenshot()));
    EXPECT_LT(highest, restTop - 6) << "the paddle raised to change hands";
    Extent moved = canoe;
    while (since(begin) < 10.0 && moved.left >= 0 && moved.middle() > canoe.middle() - 40)
        moved = canoeExtent(session.screenshot());
    session.screenshot("paddling-under-way");
    ASSERT_TRUE(moved.left >= 0 && moved.middle() < canoe.middle() - 40)
        << "the canoe has moved off to the left within 10 s: middle " << moved.middle();

    // Space: the stroke under way (1.6 s) is the last, then the canoe glides to rest in about 3 s. Five
    // seconds after that it lies still: its outline's middle is where it was a whole rocking cycle (3 s)
    // earlier.
    session.key("space");
    session.sleep(1.6 + 5);
    double still = canoeExtent(session.screenshot("paddling-glided")).middle();
    session.sleep(3);
    double later = canoeExtent(session.screenshot()).middle();
    EXPECT_LT(still, moved.middle() - 20) << "the canoe glided on after space";
    EXPECT_NEAR(later, still, 3) << "the canoe has come to rest";
    quit(session);
}

// White water: the foam the blade and the hull raise, bright and nearly grey.
const auto foam = [](Rgb c) { return c.r > 175 && c.g > 185 && c.b > 190 && c.b - c.r < 45; };

// From the centred canoe at rest, and after a key. The up arrow paddles on the near side: the catch splashes
// and the pull swirls the water beside the stern (on the water line from a third of the hull in from the
// stern to a little past it), and under way the hull leaves a wake behind it; each run keeps the most
// foam of 9 s and a picture of that moment. A positive turn rate ("d") swings the bow (the left end,
// pointing toward the viewer) toward the viewer, so the canoe looks shorter; a negative one ("Left") turns
// it broadside, so it looks longer.
TEST(Paddling, StrokesStirTheWaterAndTurningKeysSwingTheBowEachTheirWay) {
    const char* const keys[4] = {nullptr, "Up", "d", "Left"};
    double beside[4] = {}, behind[4] = {};
    int change[4] = {};
    for (int k = 0; k < 4; ++k) {
        e2e::Session session;
        ASSERT_TRUE(startCentred(session)) << session.console();
        int width = canoeExtent(session.screenshot()).width();
        if (keys[k]) session.key(keys[k]);
        const auto begin = std::chrono::steady_clock::now();
        while (since(begin) < (k < 2 ? 9 : 12) && change[k] == 0) {
            e2e::Screenshot shot = session.screenshot();
            Extent e = canoeExtent(shot);
            if (e.left < 0) continue;
            if (k >= 2) change[k] = e.width() < width * 0.9 ? 1 : e.width() > width * 1.1 ? -1 : 0;
            auto foamAlong = [&](int from, int to) {
                return shot.fraction(from, e.bottom - 1, to, e.bottom + 4, foam);
            };
            double b = foamAlong(e.right - e.width() / 3, e.right + 30);
            behind[k] = std::max(behind[k], foamAlong(e.right + 5, std::min(shot.width - 1, e.right + 200)));
            if (b > beside[k] && k < 2) session.screenshot(k ? "water-stirred" : "water-at-rest");
            beside[k] = std::max(beside[k], b);
        }
        if (k >= 2) session.screenshot(std::string("paddling-turn-") + keys[k]);
        EXPECT_EQ(change[k], k == 2 ? 1 : k == 3 ? -1 : 0) << (keys[k] ? keys[k] : "rest") << ", " << width;
        quit(session);
    }
    EXPECT_GT(beside[1], beside[0] + 0.01)
        << "the blade's splash and swirl: " << beside[0] << ", " << beside[1];
    EXPECT_GT(behind[1], behind[0] + 0.01) << "the wake: " << behind[0] << ", " << behind[1];
}

TEST(Paddling, HelpNamesTheControlsAndTheDataFilesWithoutAWindow) {
    for (const char* flag : {"--help", "-h"}) {
        e2e::Session session;
        ASSERT_TRUE(session.start({flag}));
        ASSERT_TRUE(session.waitForExit(10)) << session.console();
        EXPECT_EQ(session.exitStatus(), 0);
        std::string text = session.console();
        for (const char* expected :
             {"up arrow", "space", "Esc", "K.man", "gunwale.mask", "loon5.wav", "v.cg"})
            EXPECT_NE(text.find(expected), std::string::npos) << flag << " lacks " << expected;
        EXPECT_EQ(text.find("program is loading"), std::string::npos) << "nothing loaded";
    }
}

} // namespace
