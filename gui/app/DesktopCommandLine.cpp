#include "gui/app/DesktopCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "common/Version.h"

namespace tarnwick {

bool DesktopCommandLine::answer(const QStringList& arguments, QString& text) {
    QCommandLineParser parser;
    // "-reverse" is Qt's one option, not -r -e -v...: a single dash with a
    // word is a long option here too.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QCoreApplication::translate(
        "DesktopCommandLine",
        "Checks that partner pages still link back to your site: keeps profiles of "
        "partner pages,\nchecks them, mails the webmaster of a page that lost the "
        "link and saves reports.\nAlso takes the options of Qt programs, such as "
        "-platform NAME and -style STYLE.\nSee tarnwick(1); tarnwick-cli does the "
        "same without a window."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Qt's options are unknown here: parse() goes on past them.
    parser.parse(arguments);
    if (parser.isSet(version)) {
        text = QStringLiteral("tarnwick %1\n").arg(QLatin1String(kPackageVersion));
        return true;
    }
    // --help-all (Qt's options too) gets the same: tarnwick(1) names them.
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        text = parser.helpText();
        return true;
    }
    return false;
}

}  // namespace tarnwick
