#include "scan/ResultRow.h"

namespace tarnwick {

const std::string& ResultRow::statusText() const {
    static const std::string kStoppedByUser = "Stopped by user";
    static const std::string kNone;
    if (m_result) {
        return resultWord(*m_result);
    }
    return m_stopped ? kStoppedByUser : kNone;
}

}  // namespace tarnwick
