// Paddling as a person sees it: the paddler kneels in the stern of the centred canoe, `w` changes hands
// and drives the canoe away, space lets it glide to rest, the turning keys swing it one way or the other, and
// --help explains it all.
#include "e2e/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using e2e::Rgb;
using e2e::bark;

namespace {

// Warm colours against the blue sky: skin, hair, clothes, the paddle's wood.
bool warm(Rgb c) {
    return c.r > c.b + 25;
}
bool skin(Rgb c) {
    return c.r > 170 && c.g > 110 && c.b > 80 && c.r > c.g && c.g > c.b && c.r - c.b < 130 && c.r - c.g < 70;
}

// Where the canoe lies on screen: the first and last columns holding a few bark pixels near the horizon.
struct Extent {
    int left = -1, right = -1;
    int width() const { return right - left; }
    double middle() const { return (left + right) / 2.0; }
};
Extent canoeExtent(const e2e::Screenshot& shot) {
    Extent e;
    for (int x = 0; x < shot.width; ++x) {
        int count = 0;
        for (int y = 400; y < 640; ++y)
            count += bark(shot.at(x, y));
        if (count < 3) continue;
        if (e.left < 0) e.left = x;
        e.right = x;
    }
    return e;
}

// Starts the program and turns the view 40 degrees toward the canoe, which then lies in the middle.
bool startCentred(e2e::Session& session) {
    if (!session.start() || !session.waitForWindow()) return false;
    session.sleep(1.0);
    session.drag(960, 512, 640, 512, 16);
    session.sleep(1.5);
    return true;
}

void quit(e2e::Session& session) {
    session.key("Escape");
    ASSERT_TRUE(session.waitForExit(10)) << session.console();
    EXPECT_EQ(session.exitStatus(), 0);
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
    auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    };
    while (seconds() < 5.5)
        highest = std::min(highest, top(session.screenshot()));
    EXPECT_LT(highest, restTop - 6) << "the paddle raised to change hands";
    Extent moved = canoe;
    while (seconds() < 10.0 && moved.left >= 0 && moved.middle() > canoe.middle() - 40)
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

// A positive turn rate swings the bow (its left end here, pointing left and toward the viewer) toward
// the viewer, so the canoe looks shorter; a negative one turns it broadside, so it looks longer. The
// first clear change of its length tells the direction.
TEST(Paddling, TurningKeysSwingTheBowEachTheirWay) {
    struct Case {
        const char* key;
        int sign;                         // of the turn rate
    } cases[] = {{"d", 1}, {"Left", -1}}; // a hold on the right, a turning stroke on the left
    for (const Case& c : cases) {
        e2e::Session session;
        ASSERT_TRUE(startCentred(session)) << session.console();
        int width = canoeExtent(session.screenshot()).width();
        session.key(c.key);
        const auto begin = std::chrono::steady_clock::now();
        int change = 0;
        while (change == 0 && std::chrono::steady_clock::now() - begin < std::chrono::seconds(12)) {
            int now = canoeExtent(session.screenshot()).width();
            if (now < width * 0.9) change = 1;
            if (now > width * 1.1) change = -1;
        }
        session.screenshot(std::string("paddling-turn-") + c.key);
        EXPECT_EQ(change, c.sign) << c.key << ": from " << width << " pixels long";
        quit(session);
    }
}

// White water: the foam the blade and the hull raise, bright and nearly grey.
bool foam(Rgb c) {
    return c.r > 175 && c.g > 185 && c.b > 190 && c.b - c.r < 45;
}
// The hull's lowest row on screen, between its ends.
int waterline(const e2e::Screenshot& shot, const Extent& e) {
    int lowest = 0;
    for (int x = e.left; x <= e.right; ++x)
        for (int y = 400; y < 640; ++y)
            if (bark(shot.at(x, y))) lowest = std::max(lowest, y);
    return lowest;
}
// Foam beside the stern, where a stroke on the near side works: the water line from a third of the hull in
// from the stern to a little past it.
double foamBesideStern(const e2e::Screenshot& shot) {
    Extent e = canoeExtent(shot);
    if (e.left < 0) return 0;
    int y = waterline(shot, e);
    return shot.fraction(e.right - e.width() / 3, y - 1, e.right + 30, y + 4, foam);
}
// Foam on the water behind the stern, where a canoe under way to the left leaves its wake.
double foamBehind(const e2e::Screenshot& shot) {
    Extent e = canoeExtent(shot);
    if (e.left < 0) return 0;
    int y = waterline(shot, e);
    return shot.fraction(e.right + 5, y - 1, std::min(shot.width - 1, e.right + 200), y + 4, foam);
}

// The most foam beside the stern and behind it over 'seconds' of screenshots, after 'key' (none at rest).
void watchTheWater(const char* key, double seconds, double& beside, double& behind, const std::string& name) {
    e2e::Session session;
    ASSERT_TRUE(startCentred(session)) << session.console();
    if (key) session.key(key);
    const auto begin = std::chrono::steady_clock::now();
    beside = behind = 0;
    double most = -1;
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count() < seconds) {
        e2e::Screenshot shot = session.screenshot();
        double b = foamBesideStern(shot);
        beside = std::max(beside, b);
        behind = std::max(behind, foamBehind(shot));
        if (b > most) {
            most = b;
            session.screenshot(name); // the most stirred moment so far, kept for a person to look at
        }
    }
    quit(session);
}

// The up arrow paddles on the near side (the left), where the blade's water is in sight; the strokes start
// once the idle clip has ended, within 3 s, and every stroke's catch splashes and its pull swirls the water
// beside the stern. Under way the hull leaves a wake behind it.
TEST(Paddling, StrokesStirTheWaterBesideTheSternAndLeaveAWake) {
    double restBeside, restBehind, strokeBeside, strokeBehind;
    watchTheWater(nullptr, 9, restBeside, restBehind, "water-at-rest");
    watchTheWater("Up", 9, strokeBeside, strokeBehind, "water-stirred");
    std::printf("foam beside the stern: %.4f at rest, %.4f stroking; behind: %.4f, %.4f\n", restBeside,
                strokeBeside, restBehind, strokeBehind);
    EXPECT_GT(strokeBeside, restBeside + 0.01) << "the blade's splash and swirl";
    EXPECT_GT(strokeBehind, restBehind + 0.01) << "the wake";
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
