// Times what a user feels in a real window: from an input to the repaint of the
// change, for the program and for a bare QPlainTextEdit, interleaved, on the X
// server in DISPLAY (window_bench.sh starts a private Xvfb). Inputs are XTest
// events; repaints are seen through the DAMAGE extension. Prints figures and
// asserts nothing.
// usage: window_bench PROGRAM BARE_EDITOR [--quick] [--cases a,b,c,d,e,f,g] [--repeat N] [--trace]

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

// Last: Xlib defines macros such as None and Bool.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;
using namespace std::chrono_literals;

// A blink of the text cursor repaints the 1-pixel cursor with room for direction
// marks either side, 10-12 pixels wide on Xvfb; a typed or pasted character
// repaints whole lines. Anything this narrow is the cursor, not the change.
constexpr int kCursorRepaintWidth = 16;
// Where both windows have their text area, in client coordinates.
constexpr int kTextLeft = 3, kTextTop = 3, kTextWidth = 220, kTextHeight = 110;
// The program's characters-per-message field, its Haexler button and the lower
// area that the expanded window shows.
constexpr int kFieldX = 256, kFieldY = 83;
constexpr int kHaexlerX = 256, kHaexlerY = 103;
constexpr int kLowerLeft = 3, kLowerTop = 152, kLowerWidth = 283, kLowerHeight = 104;

constexpr auto kPasteTimeout = 60s;
constexpr auto kKeyTimeout = 30s;
constexpr auto kStartTimeout = 30s;
constexpr auto kKeyPause = 40ms;

struct Box
{
    int x = 0, y = 0, width = 0, height = 0;

    Box intersected(const Box &other) const
    {
        const int left = std::max(x, other.x), top = std::max(y, other.y);
        const int right = std::min(x + width, other.x + other.width);
        const int bottom = std::min(y + height, other.y + other.height);
        return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
    }
    bool isEmpty() const { return width <= 0 || height <= 0; }
};

// A started process, ended with SIGKILL if it is still running when dropped.
class Child
{
public:
    Child() = default;
    Child(const std::vector<std::string> &argv, bool quiet)
    {
        std::vector<char *> args;
        for (const std::string &arg : argv)
            args.push_back(const_cast<char *>(arg.c_str()));
        args.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (quiet) {
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        }
        if (posix_spawnp(&m_pid, args[0], &actions, nullptr, args.data(), environ) != 0)
            m_pid = 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;
    Child(Child &&other) noexcept : m_pid(std::exchange(other.m_pid, 0)) {}
    Child &operator=(Child &&other) noexcept
    {
        if (this != &other) {
            kill();
            m_pid = std::exchange(other.m_pid, 0);
        }
        return *this;
    }
    ~Child() { kill(); }

    pid_t pid() const { return m_pid; }

    bool running()
    {
        if (m_pid == 0)
            return false;
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = 0;
            return false;
        }
        return true;
    }

    // Whether the process ended within the timeout.
    bool waitForEnd(Clock::duration timeout)
    {
        const auto deadline = Clock::now() + timeout;
        while (running()) {
            if (Clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }

    void kill()
    {
        if (m_pid == 0)
            return;
        ::kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = 0;
    }

private:
    pid_t m_pid = 0;
};

class TempDir
{
public:
    TempDir()
    {
        std::string name =
            (std::filesystem::temp_directory_path() / "window_bench.XXXXXX").string();
        if (!mkdtemp(name.data())) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        m_path = name;
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    std::filesystem::path file(const std::string &name, const std::string &content) const
    {
        const auto path = m_path / name;
        std::ofstream(path, std::ios::binary)
            .write(content.data(), std::streamsize(content.size()));
        return path;
    }

private:
    std::filesystem::path m_path;
};

enum class Shape { Lines, Paragraph, Letters };

// ASCII words of 1-12 lowercase letters and single spaces, with a line feed
// instead of the space once a line has 150 characters; or letters only.
std::string makeText(Shape shape, std::size_t size)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> wordLength(1, 12), letter('a', 'z');
    std::string text;
    text.reserve(size + 16);
    if (shape == Shape::Letters) {
        while (text.size() < size)
            text += char(letter(random));
        return text;
    }
    std::size_t lineStart = 0;
    while (text.size() < size) {
        for (int n = wordLength(random); n > 0; --n)
            text += char(letter(random));
        if (shape == Shape::Lines && text.size() - lineStart >= 150) {
            text += '\n';
            lineStart = text.size();
        } else {
            text += ' ';
        }
    }
    text.resize(size);
    return text;
}

// A window the driver has found: the X window and its client area on the root.
struct Instance
{
    Child process;
    Window window = 0;
    Box frame;

    Box textArea() const
    {
        return {frame.x + kTextLeft, frame.y + kTextTop, kTextWidth, kTextHeight};
    }
    Box lowerArea() const
    {
        return {frame.x + kLowerLeft, frame.y + kLowerTop, kLowerWidth, kLowerHeight};
    }
};

int ignoreXError(Display *, XErrorEvent *)
{
    // A window that vanished between an event and a request for it: the caller
    // sees the failed reply or a timeout.
    return 0;
}

struct DisplayCloser
{
    void operator()(Display *display) const { XCloseDisplay(display); }
};

class Driver
{
public:
    explicit Driver(bool trace) : m_trace(trace)
    {
        m_display.reset(XOpenDisplay(nullptr));
        if (!m_display) {
            std::fprintf(stderr, "window_bench: cannot open display\n");
            std::exit(1);
        }
        XSetErrorHandler(ignoreXError);
        Display *dpy = display();
        int eventBase = 0, errorBase = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(dpy, &eventBase, &errorBase, &major, &minor) ||
            !XDamageQueryExtension(dpy, &m_damageEvent, &errorBase)) {
            std::fprintf(stderr, "window_bench: the X server lacks XTEST or DAMAGE\n");
            std::exit(1);
        }
        major = 1;
        minor = 1;
        XDamageQueryVersion(dpy, &major, &minor);
        m_root = DefaultRootWindow(dpy);
        m_screenWidth = DisplayWidth(dpy, DefaultScreen(dpy));
        m_screenHeight = DisplayHeight(dpy, DefaultScreen(dpy));
        // Without a window manager every top-level is a child of the root: its
        // maps arrive here, and the root's damage includes all that is drawn.
        XSelectInput(dpy, m_root, SubstructureNotifyMask);
        m_damage = XDamageCreate(dpy, m_root, XDamageReportRawRectangles);
        m_requestor = XCreateSimpleWindow(dpy, m_root, 0, 0, 1, 1, 0, 0, 0);
        m_wmProtocols = XInternAtom(dpy, "WM_PROTOCOLS", False);
        m_wmDeleteWindow = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
        m_clipboard = XInternAtom(dpy, "CLIPBOARD", False);
        m_targets = XInternAtom(dpy, "TARGETS", False);
        m_property = XInternAtom(dpy, "WINDOW_BENCH_TARGETS", False);
        XSync(dpy, False);
    }
    Driver(const Driver &) = delete;
    Driver &operator=(const Driver &) = delete;
    ~Driver()
    {
        XDamageDestroy(display(), m_damage);
        XDestroyWindow(display(), m_requestor);
    }

    // Starts the program, finds its window, focuses it and waits until it has
    // painted; nullopt if no window appeared.
    std::optional<Instance> start(const std::string &path)
    {
        Instance instance;
        instance.process = Child({path}, false);
        if (instance.process.pid() == 0)
            return std::nullopt;
        // One program runs at a time and there is no window manager: its window is
        // the first top-level mapped from now on (tool tips and menus are
        // override-redirect). Its _NET_WM_PID is not checked, so that the program
        // may be started through a wrapper such as strace.
        const auto mapped = pump(Clock::now() + kStartTimeout, [&](const XEvent &event, auto) {
            if (event.type != MapNotify || event.xmap.override_redirect)
                return false;
            instance.window = event.xmap.window;
            return true;
        });
        if (!mapped)
            return std::nullopt;
        instance.frame = frameOf(instance.window);
        m_traceFrame = instance.frame;
        m_traceStart = *mapped;
        trace("window 0x%lx at %d,%d, %dx%d\n", instance.window, instance.frame.x, instance.frame.y,
              instance.frame.width, instance.frame.height);
        pump(Clock::now() + 10s, [&](const XEvent &event, auto) {
            return damageIn(event, instance.frame).has_value();
        });
        focus(instance.window);
        settle(instance.frame, 300ms, 10s);
        if (m_trace) {
            // Long enough for a few blinks of the text cursor.
            trace("idle, focused:\n");
            pump(Clock::now() + 1600ms, [](const XEvent &, auto) { return false; });
        }
        return instance;
    }

    // Asks the window to close like a window manager's close button, and ends the
    // program if it does not.
    void close(Instance &instance)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = instance.window;
        event.xclient.message_type = m_wmProtocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(m_wmDeleteWindow);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display(), instance.window, False, NoEventMask, &event);
        XFlush(display());
        if (!instance.process.waitForEnd(5s)) {
            std::printf("    (did not close within 5 s: killed)\n");
            instance.process.kill();
        }
        drain();
    }

    // Puts the file's content on the CLIPBOARD, served by xclip; returns once the
    // selection answers a TARGETS request.
    std::optional<Child> offerClipboard(const std::filesystem::path &file)
    {
        Child xclip({"xclip", "-quiet", "-selection", "clipboard", "-i", file.string()}, true);
        const auto deadline = Clock::now() + 60s;
        while (Clock::now() < deadline && xclip.running()) {
            if (clipboardAnswers())
                return xclip;
            std::this_thread::sleep_for(50ms);
        }
        return std::nullopt;
    }

    // The time from the key press to the first repaint in the text area wider
    // than the text cursor.
    std::optional<double> timeKey(const Box &area, KeySym key, KeySym modifier,
                                  Clock::duration timeout)
    {
        drain();
        const auto sent = tap(key, modifier);
        const auto painted =
            pump(sent + timeout, [&](const XEvent &event, auto) { return isChange(event, area); });
        if (!painted)
            return std::nullopt;
        return Millis(*painted - sent).count();
    }

    // Pastes into the program's characters-per-message field and times the error
    // box: until it is mapped and until it has first painted.
    std::pair<std::optional<double>, std::optional<double>> timeErrorBox(const Instance &instance)
    {
        click(instance.frame.x + kFieldX, instance.frame.y + kFieldY);
        // Away from the field, whose tool tip would come up after a while.
        parkPointer();
        settle(instance.frame, 200ms, 10s);
        tap(XK_a, XK_Control_L);
        settle(instance.frame, 200ms, 10s);

        drain();
        const auto sent = tap(XK_v, XK_Control_L);
        Window box = 0;
        const auto mapped = pump(sent + kPasteTimeout, [&](const XEvent &event, auto) {
            if (event.type != MapNotify || event.xmap.override_redirect ||
                event.xmap.window == instance.window)
                return false;
            box = event.xmap.window;
            return true;
        });
        if (!mapped)
            return {};
        const Box boxFrame = frameOf(box);
        trace("box 0x%lx at %d,%d, %dx%d\n", box, boxFrame.x, boxFrame.y, boxFrame.width,
              boxFrame.height);
        const auto painted = pump(sent + kPasteTimeout, [&](const XEvent &event, auto) {
            return damageIn(event, boxFrame).has_value();
        });

        // Closed with Return, like a user would.
        focus(box);
        tap(XK_Return, NoSymbol);
        pump(Clock::now() + 10s, [&](const XEvent &event, auto) {
            return (event.type == UnmapNotify && event.xunmap.window == box) ||
                   (event.type == DestroyNotify && event.xdestroywindow.window == box);
        });
        const auto since = [&](const std::optional<Clock::time_point> &at) {
            return at ? std::optional(Millis(*at - sent).count()) : std::nullopt;
        };
        return {since(mapped), since(painted)};
    }

    // Clicks Haexler and times the split: until the lower area, which only the
    // expanded window shows, has painted the first part.
    std::optional<double> timeSplit(const Instance &instance, Clock::duration timeout)
    {
        drain();
        const auto sent = click(instance.frame.x + kHaexlerX, instance.frame.y + kHaexlerY);
        const Box lower = instance.lowerArea();
        const auto painted =
            pump(sent + timeout, [&](const XEvent &event, auto) { return isChange(event, lower); });
        if (!painted)
            return std::nullopt;
        return Millis(*painted - sent).count();
    }

    // Waits until the area has had no repaint wider than the cursor for the quiet
    // time; false if that did not happen within the limit.
    bool settle(const Box &area, Clock::duration quiet, Clock::duration limit)
    {
        const auto end = Clock::now() + limit;
        for (auto last = Clock::now();;) {
            const auto quietEnd = last + quiet;
            const auto changed = pump(std::min(quietEnd, end), [&](const XEvent &event, auto) {
                return isChange(event, area);
            });
            if (!changed)
                return quietEnd <= end;
            last = *changed;
        }
    }

    void parkPointer()
    {
        XTestFakeMotionEvent(display(), -1, m_screenWidth - 1, m_screenHeight - 1, CurrentTime);
        XFlush(display());
    }

private:
    using Handler = std::function<bool(const XEvent &, Clock::time_point)>;

    Display *display() const { return m_display.get(); }

    // Handles events until the handler accepts one, whose arrival it returns, or
    // until the deadline.
    std::optional<Clock::time_point> pump(Clock::time_point deadline, const Handler &handler)
    {
        for (;;) {
            readEvents();
            while (!m_events.empty()) {
                const auto [event, arrival] = m_events.front();
                m_events.pop_front();
                traceEvent(event, arrival);
                if (handler(event, arrival))
                    return arrival;
            }
            const auto now = Clock::now();
            if (now >= deadline)
                return std::nullopt;
            pollfd fd{ConnectionNumber(display()), POLLIN, 0};
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
            poll(&fd, 1, int(std::min<long long>(left.count(), 1000)));
        }
    }

    // Takes what the server has sent, stamped with the time it was read: a handler
    // that returns early leaves the rest queued, and its times must not be those
    // of a later dequeueing.
    void readEvents()
    {
        Display *dpy = display();
        if (XPending(dpy) == 0)
            return;
        const auto now = Clock::now();
        while (XEventsQueued(dpy, QueuedAlready) > 0) {
            XEvent event;
            XNextEvent(dpy, &event);
            m_events.emplace_back(event, now);
        }
    }

    // Handles what has arrived, so that a timing starts with an empty queue.
    void drain()
    {
        XSync(display(), False);
        pump(Clock::now(), [](const XEvent &, auto) { return false; });
    }

    // What of a damage event's rectangle lies inside the area.
    std::optional<Box> damageIn(const XEvent &event, const Box &area) const
    {
        if (event.type != m_damageEvent + XDamageNotify)
            return std::nullopt;
        const auto &damage = reinterpret_cast<const XDamageNotifyEvent &>(event);
        const Box inside =
            Box{damage.area.x, damage.area.y, damage.area.width, damage.area.height}.intersected(
                area);
        return inside.isEmpty() ? std::nullopt : std::optional(inside);
    }

    bool isChange(const XEvent &event, const Box &area) const
    {
        const auto inside = damageIn(event, area);
        return inside && inside->width > kCursorRepaintWidth;
    }

    Clock::time_point tap(KeySym key, KeySym modifier)
    {
        Display *dpy = display();
        if (modifier != NoSymbol)
            XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, modifier), True, CurrentTime);
        XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, key), True, CurrentTime);
        XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, key), False, CurrentTime);
        if (modifier != NoSymbol)
            XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, modifier), False, CurrentTime);
        const auto sent = Clock::now();
        m_traceStart = sent;
        XFlush(dpy);
        return sent;
    }

    Clock::time_point click(int x, int y)
    {
        Display *dpy = display();
        XTestFakeMotionEvent(dpy, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
        const auto sent = Clock::now();
        m_traceStart = sent;
        XFlush(dpy);
        return sent;
    }

    // Like `xdotool windowfocus --sync`.
    void focus(Window window)
    {
        XSetInputFocus(display(), window, RevertToParent, CurrentTime);
        const auto deadline = Clock::now() + 5s;
        while (Clock::now() < deadline) {
            Window focused = 0;
            int revert = 0;
            XGetInputFocus(display(), &focused, &revert);
            if (focused == window)
                return;
            std::this_thread::sleep_for(10ms);
        }
    }

    bool clipboardAnswers()
    {
        Display *dpy = display();
        if (XGetSelectionOwner(dpy, m_clipboard) == None)
            return false;
        XConvertSelection(dpy, m_clipboard, m_targets, m_property, m_requestor, CurrentTime);
        bool answered = false;
        pump(Clock::now() + 2s, [&](const XEvent &event, auto) {
            if (event.type != SelectionNotify || event.xselection.requestor != m_requestor)
                return false;
            answered = event.xselection.property != None;
            return true;
        });
        XDeleteProperty(dpy, m_requestor, m_property);
        return answered;
    }

    Box frameOf(Window window) const
    {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display(), window, &attributes);
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(display(), window, m_root, 0, 0, &x, &y, &child);
        return {x, y, attributes.width, attributes.height};
    }

    __attribute__((format(printf, 2, 3))) void trace(const char *format, ...) const
    {
        if (!m_trace)
            return;
        std::printf("      trace: ");
        va_list args;
        va_start(args, format);
        std::vprintf(format, args);
        va_end(args);
    }

    void traceEvent(const XEvent &event, Clock::time_point at) const
    {
        if (!m_trace)
            return;
        const double ms = Millis(at - m_traceStart).count();
        if (event.type == m_damageEvent + XDamageNotify) {
            const auto &damage = reinterpret_cast<const XDamageNotifyEvent &>(event);
            // In the current window's client coordinates.
            std::printf("      trace: %+9.1f ms damage x %d y %d w %d h %d\n", ms,
                        damage.area.x - m_traceFrame.x, damage.area.y - m_traceFrame.y,
                        damage.area.width, damage.area.height);
        } else if (event.type == MapNotify) {
            std::printf("      trace: %+9.1f ms map 0x%lx%s\n", ms, event.xmap.window,
                        event.xmap.override_redirect ? " (override-redirect)" : "");
        }
    }

    bool m_trace;
    std::unique_ptr<Display, DisplayCloser> m_display;
    Window m_root = 0, m_requestor = 0;
    int m_screenWidth = 0, m_screenHeight = 0;
    int m_damageEvent = 0;
    Damage m_damage = 0;
    Atom m_wmProtocols = 0, m_wmDeleteWindow = 0;
    Atom m_clipboard = 0, m_targets = 0, m_property = 0;
    std::deque<std::pair<XEvent, Clock::time_point>> m_events;
    Box m_traceFrame;
    Clock::time_point m_traceStart = Clock::now();
};

struct EditorCase
{
    char id;
    const char *shape;
    const char *sizeName;
    Shape kind;
    std::size_t size;
    int keys, quickKeys;
};

struct EditorResult
{
    bool started = false;
    bool pasted = false;
    std::optional<double> paste;
    std::vector<double> keys;
    bool keyTimedOut = false;
};

struct BoxResult
{
    bool started = false;
    std::optional<double> mapped, painted;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string milliseconds(double ms)
{
    char text[32];
    std::snprintf(text, sizeof text, ms < 100 ? "%.1f" : "%.0f", ms);
    return text;
}

std::string pasteCell(const EditorResult &result)
{
    if (!result.started)
        return "no window";
    return result.paste ? milliseconds(*result.paste) : "timeout";
}

std::string keyCell(const EditorResult &result)
{
    if (!result.started || !result.paste)
        return "-";
    if (result.keys.empty())
        return "timeout";
    const auto [low, high] = std::minmax_element(result.keys.begin(), result.keys.end());
    std::string cell = milliseconds(median(result.keys)) + " (" + milliseconds(*low) + "-" +
                       milliseconds(*high) + ")";
    if (result.keyTimedOut)
        cell += " +timeout";
    return cell;
}

EditorResult runEditor(Driver &driver, const std::string &path, const std::filesystem::path &text,
                       int keys)
{
    EditorResult result;
    auto instance = driver.start(path);
    if (!instance)
        return result;
    result.started = true;
    const auto xclip = driver.offerClipboard(text);
    if (xclip) {
        const Box area = instance->textArea();
        driver.settle(area, 200ms, 5s);
        result.paste = driver.timeKey(area, XK_v, XK_Control_L, kPasteTimeout);
        // A paste still running would make every keystroke wait for it.
        if (result.paste) {
            driver.settle(area, 300ms, 30s);
            for (int i = 0; i < keys; ++i) {
                std::this_thread::sleep_for(kKeyPause);
                const auto key = driver.timeKey(area, XK_x, NoSymbol, kKeyTimeout);
                if (!key) {
                    result.keyTimedOut = true;
                    break;
                }
                result.keys.push_back(*key);
            }
        }
    } else {
        std::printf("    the clipboard did not answer\n");
    }
    driver.close(*instance);
    return result;
}

BoxResult runErrorBox(Driver &driver, const std::string &path, const std::filesystem::path &text)
{
    BoxResult result;
    auto instance = driver.start(path);
    if (!instance)
        return result;
    result.started = true;
    if (const auto xclip = driver.offerClipboard(text))
        std::tie(result.mapped, result.painted) = driver.timeErrorBox(*instance);
    else
        std::printf("    the clipboard did not answer\n");
    driver.close(*instance);
    return result;
}

std::string splitCell(const EditorResult &result)
{
    if (!result.started || !result.paste)
        return "-";
    return result.keys.empty() ? "timeout" : milliseconds(result.keys.front());
}

// Pastes the text into the upper area and times the split click.
EditorResult runSplit(Driver &driver, const std::string &path, const std::filesystem::path &text)
{
    EditorResult result;
    auto instance = driver.start(path);
    if (!instance)
        return result;
    result.started = true;
    if (const auto xclip = driver.offerClipboard(text)) {
        const Box area = instance->textArea();
        driver.settle(area, 200ms, 5s);
        result.paste = driver.timeKey(area, XK_v, XK_Control_L, kPasteTimeout);
        if (result.paste) {
            driver.settle(area, 300ms, 30s);
            if (const auto split = driver.timeSplit(*instance, kPasteTimeout))
                result.keys.push_back(*split);
        }
    } else {
        std::printf("    the clipboard did not answer\n");
    }
    driver.close(*instance);
    return result;
}

std::string cellOf(const std::optional<double> &ms, bool started)
{
    if (!started)
        return "no window";
    return ms ? milliseconds(*ms) : "timeout";
}

void usage()
{
    std::fprintf(stderr,
                 "usage: window_bench PROGRAM BARE_EDITOR [--quick] [--cases a,b,c,d,e,f,g] "
                 "[--repeat N] [--trace]\n");
    std::exit(2);
}

} // namespace

int main(int argc, char *argv[])
{
    std::vector<std::string> positional;
    std::string cases = "abcdefg";
    bool quick = false, trace = false;
    int repeat = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quick") {
            quick = true;
        } else if (arg == "--trace") {
            trace = true;
        } else if (arg == "--cases" && i + 1 < argc) {
            cases = argv[++i];
        } else if (arg == "--repeat" && i + 1 < argc) {
            repeat = std::max(1, std::atoi(argv[++i]));
        } else if (arg.starts_with("--")) {
            usage();
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2)
        usage();
    const std::string program = positional[0], bare = positional[1];
    setenv("LC_ALL", "C.UTF-8", 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    const std::vector<EditorCase> editorCases{
        {'a', "words, lines of ~150", "1 MB", Shape::Lines, 1'000'000, 15, 5},
        {'b', "words, lines of ~150", "10 MB", Shape::Lines, 10'000'000, 15, 5},
        {'c', "words, one paragraph", "1 MB", Shape::Paragraph, 1'000'000, 5, 3},
        {'d', "letters only", "100 KB", Shape::Letters, 100'000, 5, 3},
        {'e', "letters only", "1 MB", Shape::Letters, 1'000'000, 5, 3},
    };
    const std::vector<std::pair<const char *, std::size_t>> boxSizes{
        {"10 KB", 10'000}, {"100 KB", 100'000}, {"1 MB", 1'000'000}};

    const auto begin = Clock::now();
    const TempDir directory;
    Driver driver(trace);
    driver.parkPointer();

    struct EditorRow
    {
        const EditorCase *which;
        int repetition;
        EditorResult program, bare;
    };
    struct BoxRow
    {
        const char *sizeName;
        int repetition;
        BoxResult result;
    };
    std::vector<EditorRow> editorRows;
    std::vector<BoxRow> boxRows;
    std::vector<std::pair<int, EditorResult>> splitRows;

    for (int repetition = 0; repetition < repeat; ++repetition) {
        // Each program goes first in every other repetition.
        const bool programFirst = repetition % 2 == 0;
        for (const EditorCase &which : editorCases) {
            if (cases.find(which.id) == std::string::npos)
                continue;
            const auto text =
                directory.file(std::string(1, which.id) + ".txt", makeText(which.kind, which.size));
            const int keys = quick ? which.quickKeys : which.keys;
            EditorRow row{&which, repetition + 1, {}, {}};
            for (const bool isProgram : {programFirst, !programFirst}) {
                std::printf("%c) %s, %s: %s\n", which.id, which.shape, which.sizeName,
                            isProgram ? "Brevio" : "bare Qt");
                auto &result = isProgram ? row.program : row.bare;
                result = runEditor(driver, isProgram ? program : bare, text, keys);
                std::printf("    paste %s, keystrokes %s\n", pasteCell(result).c_str(),
                            keyCell(result).c_str());
            }
            editorRows.push_back(std::move(row));
        }
        if (cases.find('f') != std::string::npos) {
            for (const auto &[sizeName, size] : boxSizes) {
                const auto text = directory.file("box.txt", "a" + std::string(size, 'b'));
                std::printf("f) error box, a and %s of b: Brevio\n", sizeName);
                BoxRow row{sizeName, repetition + 1, runErrorBox(driver, program, text)};
                std::printf("    mapped %s, painted %s\n",
                            cellOf(row.result.mapped, row.result.started).c_str(),
                            cellOf(row.result.painted, row.result.started).c_str());
                boxRows.push_back(row);
            }
        }
        if (cases.find('g') != std::string::npos) {
            const auto text = directory.file("g.txt", makeText(Shape::Lines, 10'000'000));
            std::printf("g) split, words, lines of ~150, 10 MB: Brevio\n");
            splitRows.emplace_back(repetition + 1, runSplit(driver, program, text));
            const EditorResult &result = splitRows.back().second;
            std::printf("    paste %s, split %s\n", pasteCell(result).c_str(),
                        splitCell(result).c_str());
        }
    }

    if (!editorRows.empty()) {
        std::printf("\nInput to repaint, ms; keystrokes as median (min-max)\n");
        std::printf("%-4s %-22s %-7s %10s %10s   %-26s %-26s\n", "case", "shape", "size", "paste",
                    "paste", "keystroke", "keystroke");
        std::printf("%-4s %-22s %-7s %10s %10s   %-26s %-26s\n", "", "", "", "Brevio", "bare Qt",
                    "Brevio", "bare Qt");
        for (const EditorRow &row : editorRows) {
            const std::string id =
                repeat > 1 ? std::string(1, row.which->id) + std::to_string(row.repetition)
                           : std::string(1, row.which->id);
            std::printf("%-4s %-22s %-7s %10s %10s   %-26s %-26s\n", id.c_str(), row.which->shape,
                        row.which->sizeName, pasteCell(row.program).c_str(),
                        pasteCell(row.bare).c_str(), keyCell(row.program).c_str(),
                        keyCell(row.bare).c_str());
        }
    }
    if (!boxRows.empty()) {
        std::printf("\nError box: paste \"a\" and n \"b\" into characters per message, ms\n");
        std::printf("%-4s %-22s %-7s %10s %10s\n", "case", "", "n", "mapped", "painted");
        for (const BoxRow &row : boxRows) {
            const std::string id = repeat > 1 ? "f" + std::to_string(row.repetition) : "f";
            std::printf("%-4s %-22s %-7s %10s %10s\n", id.c_str(), "error box (Brevio)",
                        row.sizeName, cellOf(row.result.mapped, row.result.started).c_str(),
                        cellOf(row.result.painted, row.result.started).c_str());
        }
    }
    if (!splitRows.empty()) {
        std::printf("\nHaexler: click to the first part's repaint, ms\n");
        std::printf("%-4s %-22s %-7s %10s %10s\n", "case", "shape", "size", "paste", "split");
        for (const auto &[repetition, result] : splitRows) {
            const std::string id = repeat > 1 ? "g" + std::to_string(repetition) : "g";
            std::printf("%-4s %-22s %-7s %10s %10s\n", id.c_str(), "words, lines of ~150", "10 MB",
                        pasteCell(result).c_str(), splitCell(result).c_str());
        }
    }
    std::printf("\ntotal %.0f s\n", std::chrono::duration<double>(Clock::now() - begin).count());
    return 0;
}
