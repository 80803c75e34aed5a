#include "platform/GlobalHotKeys.h"

#include <array>
#include <bitset>
#include <map>
#include <vector>

// Qt before Xlib: Xlib's macros (Bool, Status) break Qt's headers.
#include <QSocketNotifier>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace zelvo {
namespace {

// The keysym of a virtual-key code, NoSymbol for a code with no key here.
KeySym KeySymOf(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return XK_a + (virtualKey - 'A');
    if (virtualKey >= '0' && virtualKey <= '9') return XK_0 + (virtualKey - '0');
    if (virtualKey >= 96 && virtualKey <= 105) return XK_KP_0 + (virtualKey - 96);
    if (virtualKey >= 112 && virtualKey <= 135) return XK_F1 + (virtualKey - 112);
    switch (virtualKey) {
        case 32:
            return XK_space;
        case 33:
            return XK_Prior;
        case 34:
            return XK_Next;
        case 35:
            return XK_End;
        case 36:
            return XK_Home;
        case 37:
            return XK_Left;
        case 38:
            return XK_Up;
        case 39:
            return XK_Right;
        case 40:
            return XK_Down;
        case 45:
            return XK_Insert;
        case 46:
            return XK_Delete;
        default:
            return NoSymbol;
    }
}

unsigned X11Modifiers(unsigned modifiers) {
    unsigned mask = 0;
    if (modifiers & HotKeyModifier::Alt) mask |= Mod1Mask;
    if (modifiers & HotKeyModifier::Control) mask |= ControlMask;
    if (modifiers & HotKeyModifier::Shift) mask |= ShiftMask;
    if (modifiers & HotKeyModifier::Win) mask |= Mod4Mask;
    return mask;
}

constexpr unsigned kHotKeyModifiers = Mod1Mask | ControlMask | ShiftMask | Mod4Mask;
// A held key repeats every few dozen milliseconds once it has repeated at all.
constexpr Time kRepeatGapMs = 1000;

// Collects the X errors of one display while it lives: a grab that another client holds comes
// back as an error, which must not reach the default handler (that one ends the process).
class ScopedErrorTrap {
public:
    explicit ScopedErrorTrap(Display* display) : m_display(display) {
        XSync(display, False);
        s_display = display;
        s_failed = false;
        s_previous = XSetErrorHandler(&ScopedErrorTrap::Handle);
    }
    ~ScopedErrorTrap() {
        XSetErrorHandler(s_previous);
        s_display = nullptr;
    }
    ScopedErrorTrap(const ScopedErrorTrap&) = delete;
    ScopedErrorTrap& operator=(const ScopedErrorTrap&) = delete;

    // Waits for the server's answers to everything sent so far.
    bool Failed() {
        XSync(m_display, False);
        return s_failed;
    }

private:
    static int Handle(Display* display, XErrorEvent* error) {
        if (display == s_display) {
            s_failed = true;
            return 0;
        }
        return s_previous ? s_previous(display, error) : 0;
    }

    Display* m_display;
    static inline Display* s_display = nullptr;
    static inline bool s_failed = false;
    static inline XErrorHandler s_previous = nullptr;
};

// Passive grabs on the root window, over a connection of our own so that they do not depend on
// the toolkit's. Every key is grabbed once for each state of Caps Lock and Num Lock, since X
// matches the modifier state exactly.
class X11HotKeys final : public GlobalHotKeys {
public:
    explicit X11HotKeys(Display* display)
        : m_display(display),
          m_root(DefaultRootWindow(display)),
          m_lockStates(LockStates(display)),
          m_notifier(ConnectionNumber(display), QSocketNotifier::Read) {
        // A held key repeats as presses alone, without the releases between them, so that a
        // repeat is told from a new press.
        Bool detectable = False;
        XkbSetDetectableAutoRepeat(display, True, &detectable);
        QObject::connect(&m_notifier, &QSocketNotifier::activated, &m_notifier,
                         [this] { Drain(); });
    }

    ~X11HotKeys() override {
        for (const auto& [id, grab] : m_grabs) Ungrab(grab);
        XCloseDisplay(m_display);
    }

    bool Register(int id, unsigned modifiers, int virtualKey) override {
        Unregister(id);
        const KeySym symbol = KeySymOf(virtualKey);
        if (symbol == NoSymbol) return false;
        const KeyCode code = XKeysymToKeycode(m_display, symbol);
        if (code == 0) return false;
        const Grab grab{code, X11Modifiers(modifiers)};
        bool failed = false;
        {
            ScopedErrorTrap trap(m_display);
            for (unsigned lock : m_lockStates) {
                XGrabKey(m_display, code, grab.mask | lock, m_root, False, GrabModeAsync,
                         GrabModeAsync);
            }
            failed = trap.Failed();
        }
        if (failed) {
            // Part of the combinations may be ours: a key that works only with Caps Lock off is
            // worse than one that does nothing.
            Ungrab(grab);
            ScheduleDrain();
            return false;
        }
        m_grabs[id] = grab;
        ScheduleDrain();
        return true;
    }

    void Unregister(int id) override {
        auto found = m_grabs.find(id);
        if (found == m_grabs.end()) return;
        Ungrab(found->second);
        m_grabs.erase(found);
        XSync(m_display, False);
        ScheduleDrain();
    }

    void SetHandler(std::function<void(int id)> handler) override {
        m_handler = std::move(handler);
    }

private:
    struct Grab {
        KeyCode code;
        unsigned mask;
    };

    static std::vector<unsigned> LockStates(Display* display) {
        unsigned numLock = 0;
        const KeyCode numLockCode = XKeysymToKeycode(display, XK_Num_Lock);
        if (XModifierKeymap* map = XGetModifierMapping(display)) {
            for (int modifier = 0; modifier < 8 && numLockCode != 0; ++modifier) {
                for (int k = 0; k < map->max_keypermod; ++k) {
                    if (map->modifiermap[modifier * map->max_keypermod + k] == numLockCode) {
                        numLock = 1u << modifier;
                    }
                }
            }
            XFreeModifiermap(map);
        }
        if (numLock == 0) numLock = Mod2Mask;
        return {0, LockMask, numLock, LockMask | numLock};
    }

    void Ungrab(const Grab& grab) {
        ScopedErrorTrap trap(m_display);
        for (unsigned lock : m_lockStates)
            XUngrabKey(m_display, grab.code, grab.mask | lock, m_root);
        trap.Failed();
    }

    // Xlib may have read events into its queue while it waited for an answer; the socket then
    // stays quiet about them.
    void ScheduleDrain() {
        QMetaObject::invokeMethod(
            &m_notifier, [this] { Drain(); }, Qt::QueuedConnection);
    }

    void Drain() {
        std::vector<int> pressed;
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            const unsigned code = event.xkey.keycode;
            if (event.type == KeyRelease && code < m_held.size()) m_held.reset(code);
            if (event.type != KeyPress || code >= m_held.size()) continue;
            // However long the key is held, one press calls the handler once: the show key's
            // repeats would read the till's screen again and again while the operator types.
            // Repeats follow each other closely; a press long after the last one is new, even
            // were its release lost.
            const bool repeat =
                m_held.test(code) && event.xkey.time - m_lastPress[code] < kRepeatGapMs;
            m_held.set(code);
            m_lastPress[code] = event.xkey.time;
            if (repeat) continue;
            const unsigned state = event.xkey.state & kHotKeyModifiers;
            for (const auto& [id, grab] : m_grabs) {
                if (grab.code == event.xkey.keycode && grab.mask == state) pressed.push_back(id);
            }
        }
        // The handler may run an event loop of its own, so the queue is emptied first.
        for (int id : pressed) {
            if (m_handler) m_handler(id);
        }
    }

    Display* m_display;
    Window m_root;
    std::vector<unsigned> m_lockStates;
    QSocketNotifier m_notifier;
    std::map<int, Grab> m_grabs;
    std::bitset<256> m_held;  // keys pressed and not yet released, by key code
    std::array<Time, 256> m_lastPress{};
    std::function<void(int id)> m_handler;
};

// Without a display nothing can be grabbed; the keys stay silent, as a taken combination does.
class NoHotKeys final : public GlobalHotKeys {
public:
    bool Register(int, unsigned, int) override { return false; }
    void Unregister(int) override {}
    void SetHandler(std::function<void(int id)>) override {}
};

}  // namespace

std::unique_ptr<GlobalHotKeys> CreateSystemHotKeys() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return std::make_unique<NoHotKeys>();
    return std::make_unique<X11HotKeys>(display);
}

}  // namespace zelvo
