#pragma once

#include <string>
#include <vector>

struct _XDisplay;

namespace zelvo::test {

// Another X client that types: key presses through the XTest extension, as a keyboard would
// make them, on a connection of its own to the display in DISPLAY.
class XKeySender {
public:
    XKeySender();
    ~XKeySender();
    XKeySender(const XKeySender&) = delete;
    XKeySender& operator=(const XKeySender&) = delete;

    bool Connected() const { return m_display != nullptr; }
    // Holds the modifier keys down (keysym names such as "Control_L"), presses and releases
    // `key` ("q", "7", "F5"), then lets the modifiers go.
    void Press(const std::vector<std::string>& modifiers, const std::string& key);
    // The same, with `key` held down for that long, as a person holding it would.
    void Hold(const std::vector<std::string>& modifiers, const std::string& key, int milliseconds);
    // One press and release, e.g. of "Caps_Lock" to turn it on or off.
    void Tap(const std::string& key);
    // Grabs the combination for this client, with exactly the modifiers given (hot-key masks),
    // as another program holding it would.
    void TakeCombination(unsigned hotKeyModifiers, const std::string& key);
    // Also takes the key presses that nobody grabs and no window has the focus for.
    void WatchUngrabbedKeys();
    // Presses of other than modifier keys that reached this client through its grab or watch.
    int PressesReceived();
    bool CapsLockOn();
    bool NumLockOn();

private:
    void Send(const std::string& key, bool down);
    unsigned ModifierState();

    _XDisplay* m_display;
};

}  // namespace zelvo::test
