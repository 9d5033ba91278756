#include "TestApplication.h"

#include <QApplication>
#include <QTemporaryDir>

namespace KX::Testing {

QString ensureApplication() {
    static QTemporaryDir scratch;
    static QApplication* application = [] {
        const QByteArray root = scratch.path().toLocal8Bit();
        qputenv("XDG_CONFIG_HOME", root + "/config");
        qputenv("XDG_DATA_HOME", root + "/data");
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "brovik_tests";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    (void)application;
    return scratch.path();
}

} // namespace KX::Testing
