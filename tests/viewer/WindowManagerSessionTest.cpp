// The real program in a real X session with a window manager (Xvfb and openbox), driven with
// xdotool like a user would: the first-run tips appear and the keys work once they are gone, also
// when the window manager moves the window in and out of full screen while mapping it; and the
// running instance survives a later start whose document cannot be opened, or that shows the start
// window, once the user has dismissed the box or closed the window. Skips without the three tools.

#include "PptxFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Waiting limits; a healthy session needs a fraction of them.
constexpr int LimitMs = 30000;
constexpr int PollMs = 50;

QString tool(const char* name) {
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

class WindowManagerSession : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "window_manager_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) {
            new QCoreApplication(argc, argv);
        }
        if (tool("Xvfb").isEmpty() || tool("openbox").isEmpty() || tool("xdotool").isEmpty()) {
            GTEST_SKIP() << "needs Xvfb, openbox and xdotool";
        }
        ASSERT_TRUE(_home.isValid());
        QDir(_home.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(_home.filePath(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        ASSERT_TRUE(startDisplay());
        _environment = QProcessEnvironment::systemEnvironment();
        _environment.insert(QStringLiteral("DISPLAY"), _display);
        _environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        _environment.insert(QStringLiteral("XDG_CONFIG_HOME"), _home.filePath(QStringLiteral("config")));
        _environment.insert(QStringLiteral("XDG_DATA_HOME"), _home.filePath(QStringLiteral("data")));
        _environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), _home.filePath(QStringLiteral("runtime")));
        _environment.insert(QStringLiteral("HOME"), _home.path());
        _environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("brovik.*.debug=true"));
        _environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        _windowManager = startProcess(tool("openbox"), {QStringLiteral("--sm-disable")});
        ASSERT_TRUE(waitForWindowManager())
            << "openbox said: " << _windowManager->readAllStandardError().toStdString();
    }

    void TearDown() override {
        for (auto it = _processes.rbegin(); it != _processes.rend(); ++it) {
            QProcess* process = *it;
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(LimitMs);
            }
            delete process;
        }
    }

    // The server picks a free display itself and names it once it accepts connections, so that
    // parallel runs never meet on one, whatever lock files earlier runs left behind.
    bool startDisplay() {
        QProcess* server = startProcess(tool("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                                       QStringLiteral("-screen"), QStringLiteral("0"),
                                                       QStringLiteral("1280x800x24"),
                                                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QByteArray said;
        for (int waited = 0; waited < LimitMs && server->state() == QProcess::Running; waited += PollMs) {
            server->waitForReadyRead(PollMs);
            said += server->readAllStandardOutput();
            if (said.contains('\n')) {
                bool ok = false;
                const int number = said.trimmed().toInt(&ok);
                _display = QStringLiteral(":%1").arg(number);
                return ok;
            }
        }
        return false;
    }

    QProcess* startProcess(const QString& program, const QStringList& arguments) {
        auto* process = new QProcess();
        _processes << process;
        if (!_environment.isEmpty()) {
            process->setProcessEnvironment(_environment);
        }
        process->setReadChannel(QProcess::StandardError);
        process->start(program, arguments);
        EXPECT_TRUE(process->waitForStarted(LimitMs)) << program.toStdString();
        return process;
    }

    QString xdotool(const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(_environment);
        process.start(tool("xdotool"), arguments);
        if (!process.waitForFinished(LimitMs)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "xdotool " << arguments.join(' ').toStdString() << " did not finish";
            return QString();
        }
        return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    }

    // On a busy machine the window manager can reach the display before the server accepts
    // connections, and give up; it is started again until it manages.
    bool waitForWindowManager() {
        for (int waited = 0; waited < LimitMs; waited += PollMs) {
            if (xdotool({QStringLiteral("get_num_desktops")}).toInt() > 0) {
                return true;
            }
            if (_windowManager->state() == QProcess::NotRunning) {
                _windowManager = startProcess(tool("openbox"), {QStringLiteral("--sm-disable")});
            }
            QThread::msleep(PollMs);
        }
        return false;
    }

    // Waits for a window whose whole title is `title`, makes it the active one and gives its id.
    QString activate(const QString& title) {
        const QString found =
            xdotool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--name"),
                     QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')});
        const QString window = found.section(QLatin1Char('\n'), 0, 0);
        if (!window.isEmpty()) {
            xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
        }
        return window;
    }

    void key(const QString& keys) {
        xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys});
    }

    QProcess* slidewell(const QStringList& arguments) {
        return startProcess(QStringLiteral(SLIDEWELL_BINARY), arguments);
    }

    // Reads the program's diagnostics until `text` appears; false when it ends or stays silent.
    static bool waitFor(QProcess* process, const QString& text, QString* seen) {
        while (!seen->contains(text)) {
            if (!process->waitForReadyRead(LimitMs)) {
                return false;
            }
            *seen += QString::fromLocal8Bit(process->readAllStandardError());
        }
        return true;
    }

    QString writeDeck(const QString& name, int slides) {
        const QString path = _home.filePath(name);
        KX::Testing::writePptx(path, std::vector<QColor>(slides, Qt::darkCyan));
        return path;
    }

    QTemporaryDir _home;
    QString _display;
    QProcessEnvironment _environment;
    QProcess* _windowManager = nullptr;
    QList<QProcess*> _processes;
};

TEST_F(WindowManagerSession, TipsOnTheFirstStartAndKeysOnEveryStart) {
    const QString deck = writeDeck(QStringLiteral("keys.pptx"), 3);
    QProcess* first = slidewell({deck});
    QString seen;
    ASSERT_TRUE(waitFor(first, QStringLiteral("tips shown"), &seen)) << seen.toStdString();
    ASSERT_FALSE(activate(QStringLiteral("keys.pptx - Ordova Presentation")).isEmpty());
    // Esc is taken by the tips while they are up, whatever the window manager did meanwhile.
    key(QStringLiteral("Escape"));
    ASSERT_TRUE(waitFor(first, QStringLiteral("tips confirmed"), &seen)) << seen.toStdString();
    key(QStringLiteral("Right"));
    ASSERT_TRUE(waitFor(first, QStringLiteral("current slide 1"), &seen)) << seen.toStdString();
    key(QStringLiteral("Right"));
    ASSERT_TRUE(waitFor(first, QStringLiteral("current slide 2"), &seen)) << seen.toStdString();
    first->kill();
    first->waitForFinished(LimitMs);

    // The tips were seen: the next start has none, and its keys work at once.
    QProcess* second = slidewell({deck});
    seen.clear();
    ASSERT_TRUE(waitFor(second, QStringLiteral("window shown for"), &seen)) << seen.toStdString();
    ASSERT_FALSE(activate(QStringLiteral("keys.pptx - Ordova Presentation")).isEmpty());
    key(QStringLiteral("Right"));
    ASSERT_TRUE(waitFor(second, QStringLiteral("current slide 1"), &seen)) << seen.toStdString();
    EXPECT_FALSE(seen.contains(QStringLiteral("tips shown")));
}

TEST_F(WindowManagerSession, RunningInstanceSurvivesABadDocumentAndTheStartWindowOfLaterStarts) {
    const QString deck = writeDeck(QStringLiteral("running.pptx"), 2);
    QProcess* running = slidewell({deck});
    QString seen;
    ASSERT_TRUE(waitFor(running, QStringLiteral("window shown for"), &seen)) << seen.toStdString();

    // A later start hands over a file that cannot be opened; the user dismisses the error box.
    const QString missing = _home.filePath(QStringLiteral("missing.pptx"));
    QProcess* bad = slidewell({missing});
    EXPECT_TRUE(bad->waitForFinished(LimitMs));
    EXPECT_EQ(bad->exitCode(), 0);
    ASSERT_FALSE(activate(QStringLiteral("Ordova Presentation")).isEmpty());
    key(QStringLiteral("Return"));
    ASSERT_TRUE(waitFor(running, QStringLiteral("cannot open"), &seen)) << seen.toStdString();

    // A later start without a document; the user closes the start window through the window manager.
    QProcess* empty = slidewell({});
    EXPECT_TRUE(empty->waitForFinished(LimitMs));
    ASSERT_TRUE(waitFor(running, QStringLiteral("start window shown"), &seen)) << seen.toStdString();
    ASSERT_FALSE(activate(QStringLiteral("Ordova Presentation")).isEmpty());
    key(QStringLiteral("alt+F4"));

    // The running instance still serves.
    const QString other = writeDeck(QStringLiteral("other.pptx"), 1);
    QProcess* later = slidewell({other});
    EXPECT_TRUE(later->waitForFinished(LimitMs));
    ASSERT_TRUE(waitFor(running, QStringLiteral("window shown for \"") + other, &seen)) << seen.toStdString();
    EXPECT_EQ(running->state(), QProcess::Running);
}

} // namespace
