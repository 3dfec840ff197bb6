#include "ui/window_placement.h"

#include <QSettings>
#include <QWidget>
#include <charconv>

#include "ui/app_properties.h"
#include "widgets/twips.h"

namespace quintrel {

WindowPlacement placementOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    return {static_cast<float>(pixelsToTwipsX(window, frame.left())),
            static_cast<float>(pixelsToTwipsY(window, frame.top())),
            static_cast<float>(pixelsToTwipsX(window, frame.width())),
            static_cast<float>(pixelsToTwipsY(window, frame.height()))};
}

QString shortestText(float value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc{} ? QString::fromLatin1(buffer, end - buffer) : QString();
}

std::unique_ptr<QSettings> openSettingsStore() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, app::Title(),
                                       app::Title());
}

bool savePlacement(const WindowPlacement& placement) {
    const auto store = openSettingsStore();
    store->beginGroup(QStringLiteral("Settings"));
    store->setValue(QStringLiteral("MainLeft"), shortestText(placement.left));
    store->setValue(QStringLiteral("MainTop"), shortestText(placement.top));
    store->setValue(QStringLiteral("MainWidth"), shortestText(placement.width));
    store->setValue(QStringLiteral("MainHeight"), shortestText(placement.height));
    store->endGroup();
    store->sync();
    return store->status() == QSettings::NoError;
}

}  // namespace quintrel
