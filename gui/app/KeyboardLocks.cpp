#include "gui/app/KeyboardLocks.h"

#include <QGuiApplication>

#ifdef TARNWICK_WITH_X11
#include <X11/XKBlib.h>
#endif

namespace tarnwick {

KeyboardLocks readKeyboardLocks() {
    KeyboardLocks locks;
#if defined(TARNWICK_WITH_X11) && QT_CONFIG(xcb)
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr) {
        return locks;
    }
    // The indicator names are looked up once per display.
    static Display* s_display = nullptr;
    static Atom s_atoms[3] = {None, None, None};
    if (s_display != display) {
        s_display = display;
        const char* names[3] = {"Caps Lock", "Num Lock", "Scroll Lock"};
        for (int i = 0; i < 3; ++i) {
            s_atoms[i] = XInternAtom(display, names[i], True);
        }
    }
    const auto lit = [display](Atom atom) {
        Bool on = False;
        if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) {
            return false;
        }
        return on == True;
    };
    locks.m_caps = lit(s_atoms[0]);
    locks.m_num = lit(s_atoms[1]);
    locks.m_scroll = lit(s_atoms[2]);
#endif
    return locks;
}

}  // namespace tarnwick
