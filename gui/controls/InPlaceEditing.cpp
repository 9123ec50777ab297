#include "gui/controls/InPlaceEditing.h"

#include "gui/controls/PageTable.h"

namespace tarnwick {

void InPlaceEditing::FocusList() {
    if (m_pList != nullptr) {
        m_pList->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace tarnwick
