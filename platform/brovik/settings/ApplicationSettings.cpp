#include "platform/brovik/settings/ApplicationSettings.h"

#include <QDir>
#include <boost/dll/runtime_symbol_info.hpp>

namespace KX::Brovik {

namespace {
const QString TipsScreenEnabledKey = QStringLiteral("TipsScreen/enabled");
} // namespace

QString ApplicationSettings::getResourcesFilePath() {
    boost::system::error_code error;
    const boost::dll::fs::path program = boost::dll::program_location(error);
    if (error) {
        return QDir::current().filePath(QStringLiteral("Resources"));
    }
    return QDir(QString::fromStdString(program.parent_path().string())).filePath(QStringLiteral("Resources"));
}

bool ApplicationSettings::isTipsScreenEnabled() {
    return open()->value(TipsScreenEnabledKey, true).toBool();
}

void ApplicationSettings::setTipsScreenEnabled(bool enabled) {
    auto settings = open();
    settings->setValue(TipsScreenEnabledKey, enabled);
    settings->sync();
}

std::unique_ptr<QSettings> ApplicationSettings::open() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Ordova"), QStringLiteral("slidewell"));
}

} // namespace KX::Brovik
