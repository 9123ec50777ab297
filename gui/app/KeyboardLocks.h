// The keyboard's Caps Lock, Num Lock and Scroll Lock lights, for the status
// bar's indicators. All off where the display cannot tell (offscreen).
#pragma once

namespace tarnwick {

struct KeyboardLocks {
    bool m_caps = false;
    bool m_num = false;
    bool m_scroll = false;
    bool operator==(const KeyboardLocks&) const = default;
};

KeyboardLocks readKeyboardLocks();

}  // namespace tarnwick
