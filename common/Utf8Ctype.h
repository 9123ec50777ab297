// libcurl hands a host name outside ASCII to libidn2 in the character set of
// the calling thread's locale. Code that lets libcurl see such names (a fetch,
// an address parsed with IDN) runs with a UTF-8 character set on its own
// thread, whatever the program's locale, and puts the thread's own back
// afterwards.
#pragma once

#include <locale.h>
#include <clocale>

namespace tarnwick {

class Utf8Ctype {
public:
    Utf8Ctype() {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        if (utf8 != static_cast<locale_t>(0)) {
            m_old = uselocale(utf8);
        }
    }
    ~Utf8Ctype() {
        if (m_old != static_cast<locale_t>(0)) {
            uselocale(m_old);
        }
    }
    Utf8Ctype(const Utf8Ctype&) = delete;
    Utf8Ctype& operator=(const Utf8Ctype&) = delete;

private:
    locale_t m_old = static_cast<locale_t>(0);
};

}  // namespace tarnwick
