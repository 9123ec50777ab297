#include "gui/res/Resources.h"

#include <QtCore/qglobal.h>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

static void RegisterTarnwickResources() {
    Q_INIT_RESOURCE(tarnwick);
}

namespace tarnwick {

void InitResources() {
    static const bool registered = (RegisterTarnwickResources(), true);
    (void)registered;
}

QString UserGuidePath() {
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
