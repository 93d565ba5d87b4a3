// Every file the program reads, damaged in each way that applies to it: the real program stops with its
// message and status 1, or names its fallback and runs on until Esc; never a crash or a hang.
#include "e2e/harness.h"

#include <cstdio>
#include <filesystem>
#include <fnmatch.h>
#include <iterator>
#include <set>

namespace {

enum Damage { REMOVED = 1, HALVED = 2, FIRST_NUMBER = 4, HUGE_HEADER = 8 };

// STOPS_EARLY: status 1 before the window (the GL extension line never appears); STOPS: status 1 during
// start-up; RUNS: the window is drawn, the program keeps running and Esc ends it with status 0.
enum Outcome { STOPS_EARLY, STOPS, RUNS };

// The first row whose pattern matches the file and whose damages include the case's decides. "%s" in a
// message stands for the file's name, "|" parts a message from another that may come instead (without a
// sound device the loon is silent before its file is read); no message means the damage is taken as
// data without a word.
const struct Row {
    const char* pattern;
    int damages;
    Outcome outcome;
    const char* message;
} table[] = {
    {"*.shad", REMOVED, STOPS_EARLY, "typo. try again\n"},
    {"*.shad", HALVED, STOPS_EARLY, "%s: the file ends"},
    {"*.shad", FIRST_NUMBER, STOPS_EARLY, "%s: "},
    {"fstroke.stroke", REMOVED, RUNS, "%s: missing or empty; the canoe holds level"},
    {"fstroke.stroke", HALVED, RUNS, "%s: the file ends before its 60 samples; the rest count as 0"},
    {"fstroke.stroke", FIRST_NUMBER, RUNS, "%s: 0 samples, outside 1 to 1000; the canoe holds level"},
    {"gunwale.mask", REMOVED, STOPS, "can't find gunwale mask\n"},
    {"gunwale.mask", HALVED, STOPS, "gunwale.mask: only "},
    {"gunwale.mask", FIRST_NUMBER, RUNS, nullptr},
    {"K.man", REMOVED, STOPS, "K.man: can't open the paddler's model"},
    {"K.man", HALVED | HUGE_HEADER, STOPS, "K.man: the paddler's model is refused"},
    {"K.pad", REMOVED, RUNS, "K.pad: can't open the paddle's model; the paddle is left out"},
    {"K.pad", HALVED | HUGE_HEADER, RUNS, "K.pad: the paddle's model is refused; the paddle is left out"},
    {"i[xyz]*.bmp", REMOVED | HALVED | HUGE_HEADER, RUNS,
     "%s: not a 256 x 256 cube face; a plain face is used"},
    {"paddle_wood.bmp", REMOVED, RUNS, "Failed to open DIB file %s."},
    {"*.bmp", REMOVED | HALVED | HUGE_HEADER, RUNS, "%s: a plain texture is used instead"},
    {"*.tga", REMOVED, RUNS, "bad tga"},
    {"*.tga", HALVED | HUGE_HEADER, RUNS, "%s: the file holds fewer pixels than its header promises"},
    {"*.jpg", REMOVED, RUNS, "can't open %s\n"},
    {"*.jpg", HALVED, RUNS, "%s: Premature end of JPEG file"},
    {"*.jpg", HUGE_HEADER, RUNS, "%s: not a readable JPEG"},
    {"v.cg", REMOVED, RUNS, "%s: can't read the vertex program; the water is drawn without shading"},
    {"f.cg", REMOVED, RUNS, "%s: can't read the fragment program; the water is drawn without shading"},
    {"v.cg", HALVED, RUNS, "the water programs do not link; the water is drawn without shading"},
    {"f.cg", HALVED, RUNS, "%s: the fragment program does not compile; the water is drawn without shading"},
    {"v.cg", FIRST_NUMBER, RUNS, "%s: the vertex program does not compile"},
    {"f.cg", FIRST_NUMBER, RUNS, "%s: the fragment program does not compile"},
    {"*.wav", REMOVED, RUNS, "%s: can't read the sound|no audio device: the loon stays silent"},
    {"*.wav", HALVED, RUNS, nullptr}};

bool matches(const std::string& name, std::initializer_list<const char*> patterns) {
    for (const char* pattern : patterns)
        if (fnmatch(pattern, name.c_str(), 0) == 0) return true;
    return false;
}

void putLittle(std::string& bytes, size_t at, unsigned value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

// Damages the contents of a file; false when the damage does not apply to its format.
bool damage(const std::string& name, std::string& bytes, Damage how) {
    if (how == HALVED) {
        bytes.resize(bytes.size() / 2);
    } else if (how == FIRST_NUMBER) {
        size_t at = bytes.find_first_of("0123456789");
        if (!matches(name, {"*.shad", "*.stroke", "*.mask", "*.cg"}) || at == std::string::npos) return false;
        if (at > 0 && bytes[at - 1] == '-') --at;
        bytes.replace(at, bytes.find_first_not_of("-0123456789.", at) - at, "x#?");
    } else if (matches(name, {"*.bmp"})) { // width and height of the info header
        putLittle(bytes, 18, 0x40000000, 4);
        putLittle(bytes, 22, 0x40000000, 4);
    } else if (matches(name, {"*.tga"})) { // width and height
        putLittle(bytes, 12, 0xFFFFFFFF, 4);
    } else if (matches(name, {"*.jpg"})) { // the frame header: height, then width, big-endian
        size_t frame = bytes.find("\xFF\xC0");
        if (frame == std::string::npos) return false;
        bytes.replace(frame + 5, 4, "\xFF\xF0\xFF\xF0");
    } else if (matches(name, {"K.*"})) { // the model's clip count, after the version, magic and 64-byte name
        putLittle(bytes, 73, 0x7FFFFFFF, 4);
    } else {
        return false;
    }
    return true;
}

bool hasMessage(const std::string& console, const Row& row, const std::string& name) {
    std::istringstream messages(row.message);
    for (std::string message; std::getline(messages, message, '|');) {
        size_t at = message.find("%s");
        if (at != std::string::npos) message.replace(at, 2, name);
        if (console.find(message) != std::string::npos) return true;
    }
    return false;
}

void runCase(const std::string& name, Damage how, const char* howName) {
    e2e::Session session;
    std::string path = session.folder() + "/" + name;
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    if (how == REMOVED)
        std::remove(path.c_str());
    else if (damage(name, bytes, how))
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    else
        return;
    SCOPED_TRACE(name + " " + howName);
    const Row* row = std::find_if(std::begin(table), std::end(table), [&](const Row& r) {
        return (r.damages & how) && matches(name, {r.pattern});
    });
    ASSERT_NE(row, std::end(table)) << "no row in the table";
    ASSERT_TRUE(session.start());
    if (row->outcome == RUNS) {
        // Half a second is several frames, each of which draws with whatever fallback the damage left.
        ASSERT_TRUE(session.waitForWindow(30, 0.5)) << session.console();
        session.key("Escape");
    }
    ASSERT_TRUE(session.waitForExit(row->outcome == RUNS ? 20 : 30)) << session.console();
    std::string console = session.console();
    EXPECT_EQ(session.exitStatus(), row->outcome == RUNS ? 0 : 1) << console;
    EXPECT_TRUE(row->outcome != STOPS_EARLY || console.find("GL_") == std::string::npos) << console;
    EXPECT_TRUE(!row->message || hasMessage(console, *row, name)) << console;
    EXPECT_TRUE(console.find("Sanitizer") == std::string::npos &&
                console.find("runtime error") == std::string::npos)
        << console;
}

void runDamage(Damage how, const char* howName) {
    std::set<std::string> names; // sorted
    for (const auto& entry : std::filesystem::directory_iterator(CANOE_RUN_DIR))
        if (entry.path().filename().string()[0] != '.') names.insert(entry.path().filename().string());
    ASSERT_GE(names.size(), 40u);
    for (const std::string& name : names)
        runCase(name, how, howName);
}

TEST(DamagedFiles, Removed) {
    runDamage(REMOVED, "removed");
}
TEST(DamagedFiles, CutToHalf) {
    runDamage(HALVED, "cut to half");
}
TEST(DamagedFiles, GarbageForTheFirstNumber) {
    runDamage(FIRST_NUMBER, "garbage for the first number");
}
TEST(DamagedFiles, HugeSizeInTheHeader) {
    runDamage(HUGE_HEADER, "huge header");
}

} // namespace
