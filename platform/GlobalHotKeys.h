#pragma once

#include <functional>
#include <memory>

namespace zelvo {

// Modifier masks of a hot key, as they are written in the configuration.
namespace HotKeyModifier {
inline constexpr unsigned Alt = 1;
inline constexpr unsigned Control = 2;
inline constexpr unsigned Shift = 4;
inline constexpr unsigned Win = 8;
}  // namespace HotKeyModifier

// Key combinations that reach this program whichever program has the keyboard. Keys are
// virtual-key codes (letters and digits are their upper-case character codes).
class GlobalHotKeys {
public:
    virtual ~GlobalHotKeys() = default;
    // False when the combination cannot be had (another program holds it, or the key does not
    // exist here); nothing is registered then. A second registration of an identifier replaces
    // the first.
    virtual bool Register(int id, unsigned modifiers, int virtualKey) = 0;
    virtual void Unregister(int id) = 0;
    // Called on the thread that created the object, with the identifier of the key pressed.
    virtual void SetHandler(std::function<void(int id)> handler) = 0;
};

// The desktop's hot keys; on a system without one (no display to connect to) every
// registration fails. Create and use it on the user-interface thread.
std::unique_ptr<GlobalHotKeys> CreateSystemHotKeys();

}  // namespace zelvo
