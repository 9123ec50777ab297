#include "gui/res/Resources.h"

#include <QtCore/qglobal.h>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

static void registerTarnwickResources() {
    Q_INIT_RESOURCE(tarnwick);
}

namespace tarnwick {

void initResources() {
    static const bool registered = (registerTarnwickResources(), true);
    (void)registered;
}

QString userGuidePath() {
    const QString installed = QCoreApplication::applicationDirPath() +
                              QStringLiteral("/" TARNWICK_GUIDE_FROM_BIN "/Help.html");
    QStringList candidates{installed};
#ifdef TARNWICK_GUIDE_BUILD_DIR
    candidates << QStringLiteral(TARNWICK_GUIDE_BUILD_DIR "/Help.html");
#endif
    for (const QString& candidate : candidates) {
        const QFileInfo guide(candidate);
        if (guide.isFile()) {
            return QDir::cleanPath(guide.absoluteFilePath());
        }
    }
    return {};
}

}  // namespace tarnwick
