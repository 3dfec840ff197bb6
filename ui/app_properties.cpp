#include "ui/app_properties.h"

#include <QCoreApplication>
#include <QDir>

#include "about/help_commands.h"
#include "ui/app_version.h"

namespace quintrel::app {

QString Title() {
    return QStringLiteral("Quintrel");
}

QString Folder() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString HelpFile() {
    return helpFileSetting();
}

Version version() {
    return {QUINTREL_VERSION_MAJOR, QUINTREL_VERSION_MINOR, QUINTREL_VERSION_PATCH};
}

QString versionText() {
    const Version v = version();
    return QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision);
}

}  // namespace quintrel::app
