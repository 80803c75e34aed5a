#include "tests/support/XKeySender.h"

#include <chrono>
#include <thread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "platform/GlobalHotKeys.h"

namespace zelvo::test {

XKeySender::XKeySender() : m_display(XOpenDisplay(nullptr)) {}

XKeySender::~XKeySender() {
    if (m_display) XCloseDisplay(m_display);
}

void XKeySender::Send(const std::string& key, bool down) {
    const KeyCode code = XKeysymToKeycode(m_display, XStringToKeysym(key.c_str()));
    XTestFakeKeyEvent(m_display, code, down ? True : False, CurrentTime);
}

void XKeySender::Press(const std::vector<std::string>& modifiers, const std::string& key) {
    Hold(modifiers, key, 0);
}

void XKeySender::Hold(const std::vector<std::string>& modifiers, const std::string& key,
                      int milliseconds) {
    for (const std::string& modifier : modifiers) Send(modifier, true);
    Send(key, true);
    if (milliseconds > 0) {
        XSync(m_display, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    Send(key, false);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) Send(*it, false);
    XSync(m_display, False);
}

void XKeySender::Tap(const std::string& key) {
    Press({}, key);
}

void XKeySender::TakeCombination(unsigned hotKeyModifiers, const std::string& key) {
    unsigned mask = 0;
    if (hotKeyModifiers & HotKeyModifier::Alt) mask |= Mod1Mask;
    if (hotKeyModifiers & HotKeyModifier::Control) mask |= ControlMask;
    if (hotKeyModifiers & HotKeyModifier::Shift) mask |= ShiftMask;
    if (hotKeyModifiers & HotKeyModifier::Win) mask |= Mod4Mask;
    const KeyCode code = XKeysymToKeycode(m_display, XStringToKeysym(key.c_str()));
    XGrabKey(m_display, code, mask, DefaultRootWindow(m_display), False, GrabModeAsync,
             GrabModeAsync);
    XSync(m_display, False);
}

void XKeySender::WatchUngrabbedKeys() {
    // With no focus window, X hands a key to the window under the pointer: here, the root.
    XSelectInput(m_display, DefaultRootWindow(m_display), KeyPressMask);
    XSync(m_display, False);
}

int XKeySender::PressesReceived() {
    XSync(m_display, False);
    int presses = 0;
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type == KeyPress && !IsModifierKey(XLookupKeysym(&event.xkey, 0))) ++presses;
    }
    return presses;
}

unsigned XKeySender::ModifierState() {
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned mask = 0;
    XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &child, &rootX, &rootY, &x, &y,
                  &mask);
    return mask;
}

bool XKeySender::CapsLockOn() {
    return (ModifierState() & LockMask) != 0;
}

// Xvfb's keyboard puts Num Lock on the second modifier.
bool XKeySender::NumLockOn() {
    return (ModifierState() & Mod2Mask) != 0;
}

}  // namespace zelvo::test
