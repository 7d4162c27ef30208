// Watches an X screen for the whole-program measurements of bench/whole_program.py: when a
// started program's windows are drawn, and how long after a key its pixels change. Plain Xlib
// and XTest, so that the watcher costs the X server as little as the programs it watches.
//
//   screen_probe grab X,Y,W,H FILE             write the rectangle as a binary PPM
//   screen_probe launch MS X,Y,W,H:FILE... -- PROGRAM ARG...
//       start PROGRAM, print "pid N", then "drawn T" with T the milliseconds from the start
//       until every rectangle equals its picture (-1 after MS milliseconds)
//   screen_probe keys PX,PY PAUSE_MS KEYSYM...
//       with the pointer at PX,PY (the focus follows it), press and release each key
//   screen_probe steps PX,PY X,Y,W,H COUNT PAUSE_MS KEYSYM
//       COUNT times: press KEYSYM, print "changed T" with T the milliseconds until the
//       rectangle's pixels changed (-1 after a second), then wait PAUSE_MS

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <sys/shm.h>
#include <unistd.h>
#include <vector>

namespace {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

void sleepMs(double ms) {
    if (ms > 0)
        usleep(useconds_t(ms * 1000));
}

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "screen_probe: %s\n", message.c_str());
    std::exit(2);
}

Rect parseRect(const char* text) {
    Rect r;
    if (std::sscanf(text, "%d,%d,%d,%d", &r.x, &r.y, &r.w, &r.h) != 4 || r.w <= 0 || r.h <= 0)
        fail(std::string("bad rectangle ") + text);
    return r;
}

void parsePoint(const char* text, int& x, int& y) {
    if (std::sscanf(text, "%d,%d", &x, &y) != 2)
        fail(std::string("bad point ") + text);
}

// Reads rectangles of the screen through shared memory: a read through the socket copies the
// pixels twice and costs more than the latencies measured.
class ScreenReader {
public:
    explicit ScreenReader(Display* display) : display_(display) {
        if (!XShmQueryExtension(display))
            fail("the X server has no MIT-SHM");
    }
    ~ScreenReader() { release(); }
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    // The rectangle's pixels as 0xRRGGBB.
    std::vector<unsigned> grab(const Rect& r) {
        if (image_ == nullptr || image_->width != r.w || image_->height != r.h)
            allocate(r);
        if (!XShmGetImage(display_, DefaultRootWindow(display_), image_, r.x, r.y, AllPlanes))
            fail("cannot read the screen");
        std::vector<unsigned> pixels(size_t(r.w) * size_t(r.h));
        for (int y = 0; y < r.h; ++y) {
            unsigned* row = pixels.data() + size_t(y) * size_t(r.w);
            std::memcpy(row, image_->data + size_t(y) * size_t(image_->bytes_per_line),
                        size_t(r.w) * 4);
            for (int x = 0; x < r.w; ++x)
                row[x] &= 0xffffffu;
        }
        return pixels;
    }

private:
    void allocate(const Rect& r) {
        release();
        const int screen = DefaultScreen(display_);
        image_ = XShmCreateImage(display_, DefaultVisual(display_, screen),
                                 unsigned(DefaultDepth(display_, screen)), ZPixmap, nullptr,
                                 &segment_, unsigned(r.w), unsigned(r.h));
        if (image_ == nullptr || image_->bits_per_pixel != 32 || image_->red_mask != 0xff0000)
            fail("the screen must be 24-bit (Xvfb -screen 0 WxHx24)");
        segment_.shmid =
            shmget(IPC_PRIVATE, size_t(image_->bytes_per_line) * size_t(r.h), IPC_CREAT | 0600);
        if (segment_.shmid < 0)
            fail("no shared memory");
        segment_.shmaddr = image_->data = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
        segment_.readOnly = False;
        XShmAttach(display_, &segment_);
        XSync(display_, False);
        // Marked for removal now, so that no segment outlives the probe.
        shmctl(segment_.shmid, IPC_RMID, nullptr);
    }
    void release() {
        if (image_ == nullptr)
            return;
        XShmDetach(display_, &segment_);
        XDestroyImage(image_);
        shmdt(segment_.shmaddr);
        image_ = nullptr;
    }

    Display* display_;
    XImage* image_ = nullptr;
    XShmSegmentInfo segment_{};
};

void writePpm(const char* path, const Rect& r, const std::vector<unsigned>& pixels) {
    std::vector<unsigned char> rgb;
    rgb.reserve(pixels.size() * 3);
    for (const unsigned p : pixels) {
        rgb.push_back((unsigned char)(p >> 16));
        rgb.push_back((unsigned char)(p >> 8));
        rgb.push_back((unsigned char)p);
    }
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr)
        fail(std::string("cannot write ") + path);
    std::fprintf(file, "P6\n%d %d\n255\n", r.w, r.h);
    const bool written = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
    if (std::fclose(file) != 0 || !written)
        fail(std::string("cannot write ") + path);
}

std::vector<unsigned> readPpm(const char* path, const Rect& r) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        fail(std::string("cannot read ") + path);
    int w = 0, h = 0, depth = 0;
    if (std::fscanf(file, "P6 %d %d %d", &w, &h, &depth) != 3 || std::fgetc(file) == EOF ||
        w != r.w || h != r.h || depth != 255)
        fail(std::string("not a picture of the rectangle's size: ") + path);
    std::vector<unsigned char> rgb(size_t(w) * size_t(h) * 3);
    const bool read = std::fread(rgb.data(), 1, rgb.size(), file) == rgb.size();
    std::fclose(file);
    if (!read)
        fail(std::string("short picture ") + path);
    std::vector<unsigned> pixels(rgb.size() / 3);
    for (size_t k = 0; k < pixels.size(); ++k)
        pixels[k] = unsigned(rgb[3 * k]) << 16 | unsigned(rgb[3 * k + 1]) << 8 | rgb[3 * k + 2];
    return pixels;
}

void pressKey(Display* display, const char* name) {
    const KeySym symbol = XStringToKeysym(name);
    const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
    if (code == 0)
        fail(std::string("no key ") + name);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
}

void pointAt(Display* display, const char* point) {
    int x = 0, y = 0;
    parsePoint(point, x, y);
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
}

// Polled, not waited on through Damage: a short sleep between reads leaves the cores to the
// program being measured, and 0.2 ms is well under the differences measured.
constexpr double kPollMs = 0.2;

int launch(Display* display, int argc, char** argv) {
    if (argc < 4)
        fail("launch MS RECT:FILE... -- PROGRAM ARG...");
    const double timeout = std::atof(argv[2]);
    std::vector<Rect> rects;
    std::vector<std::vector<unsigned>> pictures;
    int i = 3;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        const char* colon = std::strchr(argv[i], ':');
        if (colon == nullptr)
            fail(std::string("expected RECT:FILE, got ") + argv[i]);
        rects.push_back(parseRect(std::string(argv[i], size_t(colon - argv[i])).c_str()));
        pictures.push_back(readPpm(colon + 1, rects.back()));
    }
    if (i + 1 >= argc)
        fail("no program to launch");
    const double start = nowMs();
    const pid_t pid = fork();
    if (pid < 0)
        fail("cannot fork");
    if (pid == 0) {
        execvp(argv[i + 1], argv + i + 1);
        std::perror("screen_probe: exec");
        _exit(127);
    }
    std::printf("pid %d\n", int(pid));
    std::fflush(stdout);
    // One reader a rectangle, each keeping its own shared image.
    std::vector<std::unique_ptr<ScreenReader>> readers;
    for (size_t k = 0; k < rects.size(); ++k)
        readers.push_back(std::make_unique<ScreenReader>(display));
    std::vector<bool> drawn(rects.size(), false);
    size_t left = rects.size();
    while (left > 0 && nowMs() - start < timeout) {
        for (size_t k = 0; k < rects.size(); ++k) {
            if (!drawn[k] && readers[k]->grab(rects[k]) == pictures[k]) {
                drawn[k] = true;
                --left;
            }
        }
        if (left > 0)
            sleepMs(kPollMs);
    }
    std::printf("drawn %.3f\n", left == 0 ? nowMs() - start : -1.0);
    return 0;
}

int keys(Display* display, int argc, char** argv) {
    if (argc < 5)
        fail("keys PX,PY PAUSE_MS KEYSYM...");
    pointAt(display, argv[2]);
    const double pause = std::atof(argv[3]);
    for (int i = 4; i < argc; ++i) {
        pressKey(display, argv[i]);
        sleepMs(pause);
    }
    return 0;
}

int steps(Display* display, int argc, char** argv) {
    if (argc != 7)
        fail("steps PX,PY X,Y,W,H COUNT PAUSE_MS KEYSYM");
    pointAt(display, argv[2]);
    const Rect rect = parseRect(argv[3]);
    const int count = std::atoi(argv[4]);
    const double pause = std::atof(argv[5]);
    ScreenReader screen(display);
    for (int n = 0; n < count; ++n) {
        const std::vector<unsigned> before = screen.grab(rect);
        const double start = nowMs();
        pressKey(display, argv[6]);
        double changed = -1;
        while (nowMs() - start < 1000) {
            if (screen.grab(rect) != before) {
                changed = nowMs() - start;
                break;
            }
            sleepMs(kPollMs);
        }
        std::printf("changed %.3f\n", changed);
        std::fflush(stdout);
        sleepMs(pause);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        fail("grab | launch | keys | steps");
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        fail("cannot open the display");
    const std::string command = argv[1];
    int status = 0;
    if (command == "grab" && argc == 4) {
        const Rect rect = parseRect(argv[2]);
        ScreenReader screen(display);
        writePpm(argv[3], rect, screen.grab(rect));
    } else if (command == "launch") {
        status = launch(display, argc, argv);
    } else if (command == "keys") {
        status = keys(display, argc, argv);
    } else if (command == "steps") {
        status = steps(display, argc, argv);
    } else {
        fail("unknown command " + command);
    }
    XCloseDisplay(display);
    return status;
}
