// The keyboard's Caps Lock, Num Lock and Scroll Lock lights, for the status
// bar's indicators. All off where the display cannot tell (offscreen).
#pragma once

namespace tarnwick {

struct KeyboardLocks {
    bool m_bCaps = false;
    bool m_bNum = false;
    bool m_bScroll = false;
    bool operator==(const KeyboardLocks&) const = default;
};

KeyboardLocks ReadKeyboardLocks();

}  // namespace tarnwick
