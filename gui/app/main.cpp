// The desktop program: a thin main over the application object.
#include <curl/curl.h>

#include <csignal>
#include <cstdio>

#include <QApplication>
#include <QStandardPaths>

#include "common/CurlSetup.h"
#include "common/Version.h"
#include "gui/app/DesktopCommandLine.h"
#include "gui/app/TarnwickApplication.h"

int main(int argc, char** argv) {
    // Under a file size limit (ulimit -f) a write past it must fail with
    // EFBIG, to be reported as a full disk is, rather than end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // Once, before any thread of the program uses the network.
    tarnwick::CurlSetup::globalInit();
    int code = 0;
    {
        // --help and --version need no display: answered before QApplication
        // looks for one.
        const QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("tarnwick"));
        QCoreApplication::setApplicationVersion(QLatin1String(tarnwick::kPackageVersion));
        QString text;
        if (tarnwick::DesktopCommandLine::answer(QCoreApplication::arguments(), text)) {
            std::fputs(text.toLocal8Bit().constData(), stdout);
            curl_global_cleanup();
            return 0;
        }
    }
    {
        QApplication application(argc, argv);
        QApplication::setApplicationName(QStringLiteral("tarnwick"));
        QApplication::setApplicationVersion(QLatin1String(tarnwick::kPackageVersion));
        // Docks and Wayland compositors match the window to its menu entry
        // and icon by this name.
        QGuiApplication::setDesktopFileName(QStringLiteral(TARNWICK_APP_ID));
        tarnwick::StartOptions options;
        options.m_layoutFile =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/tarnwick/window.ini");
        tarnwick::TarnwickApplication app(options);
        QObject::connect(&app, &tarnwick::TarnwickApplication::exitRequested, &application,
                         &QCoreApplication::exit, Qt::QueuedConnection);
        if (!app.start()) {
            return 1;
        }
        code = QApplication::exec();
    }
    curl_global_cleanup();
    return code;
}
