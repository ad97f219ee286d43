// tessera-make-demo: writes the demo session shipped in data/ as a replay file, event by
// event, so that it can be remade and changed rather than recorded by hand. Every time is
// a whole number of ticks and every idle step a sixtieth of a second, as a steady 60 Hz
// display gives them.
//
// usage: tessera-make-demo SET > data/demo.tessera-replay
//        (SET: the default picture set's prefix, data/fruit, for the checksum)
#include "program/picture_source.h"
#include "replay/idle_run.h"
#include "replay/input_event.h"
#include "replay/picture_checksum.h"
#include "replay/replay_header.h"
#include "replay/replay_writer.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

using tessera::InputEvent;

constexpr std::int64_t frameTicks = 16666667;
constexpr std::int64_t inputTicks = 1000000; // input arrives a millisecond apart
constexpr int leftButton = 0;
constexpr int rightButton = 2;
// Where the tools sit on the toolbar, in window pixels.
constexpr int toolX[] = {28, 86, 145, 203};
constexpr int toolY = 462;
enum Tool { Parallelogram, Circle, Square, Triangle };

// A session as the window system would deliver it: idle steps at a steady rate, input
// between them.
class Session {
public:
    void reshape(int width, int height) { add(InputEvent::reshape(next(), width, height)); }

    void idle(int frames) {
        for (int i = 0; i < frames; ++i) {
            frameStart += frameTicks;
            const auto dt = static_cast<float>(static_cast<double>(frameTicks) * 1e-9);
            add(InputEvent::idle(frameStart, dt));
            inputs = 0;
        }
    }

    void move(int x, int y) { add(InputEvent::motion(next(), x, y)); }
    void press(int button, int x, int y) { add(InputEvent::press(next(), button, x, y)); }
    void release(int button, int x, int y) { add(InputEvent::release(next(), button, x, y)); }
    void key(char code) { add(InputEvent::keyPress(next(), code)); }

    // A left click on a point, after the pointer has come to it.
    void click(int x, int y) {
        move(x, y);
        idle(1);
        press(leftButton, x, y);
        idle(2);
        release(leftButton, x, y);
        idle(1);
    }

    void chooseTool(Tool tool) { click(toolX[tool], toolY); }

    // The right button held still: the new shape grows for as long as it is held.
    void paint(int x, int y, int frames) {
        move(x, y);
        idle(1);
        press(rightButton, x, y);
        idle(frames);
        release(rightButton, x, y);
        idle(5);
    }

    // The right button dragged along a line, one pointer step a frame: a trail.
    void drag(int x0, int y0, int x1, int y1, int frames) {
        move(x0, y0);
        idle(1);
        press(rightButton, x0, y0);
        idle(1);
        for (int i = 1; i <= frames; ++i) {
            move(x0 + (x1 - x0) * i / frames, y0 + (y1 - y0) * i / frames);
            idle(1);
        }
        release(rightButton, x1, y1);
        idle(5);
    }

    // Left presses, frames apart, on shapes painted at the points (a shape shows where the
    // pointer painted it): a connection gesture.
    void connect(std::initializer_list<std::pair<int, int>> painted, int framesBetween) {
        bool first = true;
        for (const auto& [x, y] : painted) {
            if (!first) {
                idle(framesBetween);
            }
            first = false;
            click(x, y);
        }
    }

    void write(std::FILE* out) const { std::fputs(text.c_str(), out); }
    std::string text;

private:
    std::int64_t next() { return frameStart + ++inputs * inputTicks; }
    // Written as a recording writes it: a run of idle steps is one line, remade as it grows.
    void add(const InputEvent& event) {
        if (run.add(event)) {
            text.resize(runStart);
            text += run.line();
            return;
        }
        runStart = text.size();
        text += tessera::replayEventLine(event);
    }

    std::int64_t frameStart = 0;
    std::int64_t inputs = 0;
    tessera::IdleRun run;
    std::size_t runStart = 0;
};

void perform(Session& s) {
    s.reshape(640, 480);
    s.idle(30);

    // Paint with all four tools, holding each press to let the shape grow.
    s.chooseTool(Circle);
    s.paint(120, 130, 80); // A: goes round the triangle's outline
    s.paint(260, 310, 80); // joins the cycle
    s.chooseTool(Triangle);
    s.paint(215, 130, 80); // its outline
    s.paint(140, 260, 80); // starts the cycle
    s.chooseTool(Square);
    s.paint(330, 120, 80);  // trades places
    s.paint(540, 190, 110); // trades sizes: large
    s.paint(560, 320, 30);  // and small
    s.chooseTool(Parallelogram);
    s.paint(460, 120, 80); // trades places
    s.paint(400, 250, 80); // joins the cycle
    // A trail, dragged with the right button.
    s.chooseTool(Circle);
    s.drag(250, 420, 580, 380, 75);
    s.idle(20);

    // Square first, then a parallelogram: they trade places.
    s.connect({{330, 120}, {460, 120}}, 45);
    s.idle(60);
    // Circle first, then a triangle: each travels the other's outline.
    s.connect({{120, 130}, {215, 130}}, 150);
    s.idle(60);
    // Two squares: they trade sizes.
    s.connect({{540, 190}, {560, 320}}, 30);
    s.idle(60);
    // Triangle first, then two more: the three move round a cycle.
    s.connect({{140, 260}, {260, 310}, {400, 250}}, 40);
    s.idle(200);

    // The light follows the pointer across the board.
    for (int x = 100; x <= 540; x += 20) {
        s.move(x, 240 + (x % 80) - 40);
        s.idle(1);
    }
    // Scatter, and come home.
    s.key('r');
    s.idle(210);
    s.key('f');
    s.idle(240);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessera-make-demo SET > demo.tessera-replay\n");
        return 2;
    }
    tessera::ReplayHeader header;
    const tessera::PictureSource set{tessera::PictureSource::PictureSetFiles, argv[1]};
    if (std::string error = tessera::checksumFiles(tessera::pictureFiles(set), header.checksum);
        !error.empty()) {
        std::fprintf(stderr, "tessera-make-demo: %s\n", error.c_str());
        return 255;
    }
    Session session;
    perform(session);
    std::fputs(tessera::replayHeaderText(header).c_str(), stdout);
    session.write(stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
