// A NotificationSink that keeps what it is told, for the tests.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "mail/NotificationSink.h"

namespace tarnwick::test {

class RecordingSink : public NotificationSink {
public:
    void setResultMail(int row, const std::string& text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cells[row] = text;
        m_writes.emplace_back(row, text);
    }
    void showMessage(const std::string& text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_messages.push_back(text);
    }
    std::map<int, std::string> cells() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_cells;
    }
    std::string cell(int row) {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_cells.find(row);
        return it == m_cells.end() ? std::string() : it->second;
    }
    std::vector<std::pair<int, std::string>> writes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_writes;
    }
    std::vector<std::string> messages() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_messages;
    }

private:
    std::mutex m_mutex;
    std::map<int, std::string> m_cells;
    std::vector<std::pair<int, std::string>> m_writes;
    std::vector<std::string> m_messages;
};

}  // namespace tarnwick::test
