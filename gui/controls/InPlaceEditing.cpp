#include "gui/controls/InPlaceEditing.h"

#include "gui/controls/PageTable.h"

namespace tarnwick {

void InPlaceEditing::focusList() {
    if (m_list != nullptr) {
        m_list->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace tarnwick
