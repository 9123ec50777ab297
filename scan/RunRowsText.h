// The text of g_strRunRows ("0+2+5+"): the profile rows of the current run,
// the first one the profile marked "Running...". The progression drops the
// leading entries one step at a time; dropping them moves a start mark
// instead of the text, so a run over thousands of profiles costs time linear
// in their number. Reads as the std::string it stands for.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace tarnwick {

class RunRowsText {
public:
    RunRowsText& operator=(std::string text) {
        m_text = std::move(text);
        m_start = 0;
        return *this;
    }
    void clear() { *this = std::string(); }

    // Drops the first n characters.
    void eraseFront(std::size_t n) { m_start = n < size() ? m_start + n : m_text.size(); }

    std::string_view view() const { return std::string_view(m_text).substr(m_start); }
    std::size_t size() const { return m_text.size() - m_start; }
    bool empty() const { return size() == 0; }
    operator std::string() const { return std::string(view()); }  // NOLINT: reads as the text

    friend bool operator==(const RunRowsText& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const RunRowsText& a, const char* b) { return a.view() == b; }
    friend std::ostream& operator<<(std::ostream& os, const RunRowsText& t) {
        return os << t.view();
    }

private:
    std::string m_text;
    std::size_t m_start = 0;
};

}  // namespace tarnwick
