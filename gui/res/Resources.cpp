#include "gui/res/Resources.h"

#include <QtCore/qglobal.h>

static void RegisterTarnwickResources() {
    Q_INIT_RESOURCE(tarnwick);
}

namespace tarnwick {

void InitResources() {
    static const bool registered = (RegisterTarnwickResources(), true);
    (void)registered;
}

}  // namespace tarnwick
