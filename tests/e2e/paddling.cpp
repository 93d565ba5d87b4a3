// Paddling as a person sees it: changing hands, paddling away, gliding to rest, turning each way, the
// water stirred, and --help.
#include "e2e/harness.h"

using e2e::bark;
using e2e::quit;
using e2e::Rgb;

namespace {

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

// Seconds since 'begin'.
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
