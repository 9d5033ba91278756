// The slidewell program itself: its maintenance options, the hand-over of a request to a running
// instance, and opening a document. Each test runs the real binary in its own settings and runtime
// folders.

#include "PptxFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Waiting limits for the program; a healthy start needs a fraction of them.
constexpr int StartLimitMs = 30000;

class ViewerStartup : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "startup_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) {
            new QCoreApplication(argc, argv);
        }
        ASSERT_TRUE(_home.isValid());
        QDir(_home.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(runtime(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        _environment = QProcessEnvironment::systemEnvironment();
        _environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        _environment.insert(QStringLiteral("XDG_CONFIG_HOME"), _home.filePath(QStringLiteral("config")));
        _environment.insert(QStringLiteral("XDG_DATA_HOME"), _home.filePath(QStringLiteral("data")));
        _environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime());
        _environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("brovik.*.debug=true"));
        _environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    }

    void TearDown() override {
        for (QProcess* process : _processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(StartLimitMs);
            }
            delete process;
        }
    }

    QString runtime() const { return _home.filePath(QStringLiteral("runtime")); }
    QString settingsFile() const { return _home.filePath(QStringLiteral("config/Ordova/slidewell.conf")); }

    QProcess* start(const QStringList& arguments) {
        auto* process = new QProcess();
        _processes << process;
        process->setProcessEnvironment(_environment);
        process->setProcessChannelMode(QProcess::SeparateChannels);
        process->setReadChannel(QProcess::StandardError);
        process->start(QStringLiteral(SLIDEWELL_BINARY), arguments);
        EXPECT_TRUE(process->waitForStarted(StartLimitMs));
        return process;
    }

    // Runs the program to its end and gives its exit code (-1 when it did not end).
    int run(const QStringList& arguments) {
        QProcess* process = start(arguments);
        if (!process->waitForFinished(StartLimitMs)) {
            return -1;
        }
        return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    }

    // Reads the process's diagnostics until `text` appears; false when it ends or stays silent.
    static bool waitForDiagnostic(QProcess* process, const QString& text, QString* seen) {
        while (!seen->contains(text)) {
            if (!process->waitForReadyRead(StartLimitMs)) {
                return false;
            }
            *seen += QString::fromLocal8Bit(process->readAllStandardError());
        }
        return true;
    }

    QString writeDeck(const QString& name, const std::vector<QColor>& slides) {
        const QString path = _home.filePath(name);
        KX::Testing::writePptx(path, slides);
        return path;
    }

    QTemporaryDir _home;
    QProcessEnvironment _environment;
    QList<QProcess*> _processes;
};

TEST_F(ViewerStartup, UninstallRemovesTheUserSettingsAndWinsOverEverything) {
    QDir().mkpath(QFileInfo(settingsFile()).path());
    QFile settings(settingsFile());
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[TipsScreen]\nenabled=false\n");
    settings.close();
    const QString deck = writeDeck(QStringLiteral("deck.pptx"), {Qt::red});

    EXPECT_EQ(run({QStringLiteral("--uninstall"), QStringLiteral("--open-in-background"), deck}), 0);
    EXPECT_FALSE(QFile::exists(settingsFile()));
    // No instance was started: nothing listens in the runtime folder.
    EXPECT_TRUE(QDir(runtime()).entryList(QDir::System | QDir::Files).isEmpty());
}

TEST_F(ViewerStartup, HelpPrintsTheUsageAndStartsNothing) {
    // No display is needed to answer it.
    _environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    _environment.remove(QStringLiteral("DISPLAY"));
    _environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    for (const QString& option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        QProcess* process = start({option, writeDeck(QStringLiteral("help.pptx"), {Qt::red})});
        ASSERT_TRUE(process->waitForFinished(StartLimitMs));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), 0);
        EXPECT_EQ(process->readAllStandardError(), QByteArray());
        EXPECT_EQ(
            QString::fromUtf8(process->readAllStandardOutput()),
            QStringLiteral("Usage: " SLIDEWELL_BINARY " [options] [paths...]\n"
                           "\n"
                           "Options:\n"
                           "  -h, --help                        Shows this help and exits.\n"
                           "  --uninstall                       Removes the user's settings and exits.\n"
                           "  --remove-default-template-folder  Deletes the default templates and exits.\n"
                           "  --open-in-background              Opens the documents in minimised windows.\n"
                           "\n"
                           "Arguments:\n"
                           "  paths                             Documents to open.\n"));
    }
    EXPECT_TRUE(QDir(runtime()).entryList(QDir::System | QDir::Files).isEmpty());
}

TEST_F(ViewerStartup, RemoveDefaultTemplateFolder) {
    const QString templates = _home.filePath(QStringLiteral("data/Ordova/Templates"));
    ASSERT_TRUE(QDir().mkpath(templates + QStringLiteral("/Presentation")));
    QFile file(templates + QStringLiteral("/Presentation/a.potx"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    EXPECT_EQ(run({QStringLiteral("--remove-default-template-folder")}), 0);
    EXPECT_FALSE(QDir(templates).exists());
    EXPECT_TRUE(QDir(_home.filePath(QStringLiteral("data/Ordova"))).exists());
}

TEST_F(ViewerStartup, SecondStartHandsItsDocumentToTheRunningInstance) {
    const QString first = writeDeck(QStringLiteral("first.pptx"), {Qt::red});
    const QString second = writeDeck(QStringLiteral("second.pptx"), {Qt::green, Qt::blue});

    QProcess* running = start({first});
    QString diagnostics;
    ASSERT_TRUE(waitForDiagnostic(running, QStringLiteral("opening \"") + first, &diagnostics))
        << diagnostics.toStdString();

    EXPECT_EQ(run({second}), 0);
    ASSERT_TRUE(waitForDiagnostic(running, QStringLiteral("opening \"") + second, &diagnostics))
        << diagnostics.toStdString();
    EXPECT_TRUE(diagnostics.contains(QStringLiteral("request from another start")));
    EXPECT_EQ(running->state(), QProcess::Running);
}

TEST_F(ViewerStartup, LaterStartsWithoutDocumentOrInTheBackground) {
    const QString first = writeDeck(QStringLiteral("first.pptx"), {Qt::red});
    const QString second = writeDeck(QStringLiteral("second.pptx"), {Qt::green});
    QProcess* running = start({first});
    QString diagnostics;
    ASSERT_TRUE(waitForDiagnostic(running, QStringLiteral("window shown for \"") + first, &diagnostics))
        << diagnostics.toStdString();

    // A start without a document shows the start window even though a document is open.
    EXPECT_EQ(run({}), 0);
    ASSERT_TRUE(waitForDiagnostic(running, QStringLiteral("start window shown"), &diagnostics))
        << diagnostics.toStdString();

    // The running instance keeps serving while its start window is up.
    EXPECT_EQ(run({QStringLiteral("--open-in-background"), second}), 0);
    ASSERT_TRUE(waitForDiagnostic(
        running, QStringLiteral("window shown for \"") + second + "\" in the background", &diagnostics))
        << diagnostics.toStdString();
}

TEST_F(ViewerStartup, DocumentOpensAndTheProgramRunsUntilItsWindowCloses) {
    const QString deck = writeDeck(QStringLiteral("run.pptx"), {Qt::red, Qt::green});
    QProcess* running = start({deck});
    QString diagnostics;
    ASSERT_TRUE(waitForDiagnostic(running, QStringLiteral("opening \"") + deck, &diagnostics))
        << diagnostics.toStdString();
    // The program keeps running with its window; it does not end on its own.
    EXPECT_FALSE(running->waitForFinished(500));
    EXPECT_EQ(running->state(), QProcess::Running);
}

TEST_F(ViewerStartup, SampleDeckOpens) {
    const QDir samples(QStringLiteral(KX_SAMPLES_DIR "/odp"));
    const QStringList files = samples.entryList({QStringLiteral("*.odp")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        GTEST_SKIP() << "no sample presentations on this machine";
    }
    const QString deck = samples.filePath(files.first());
    QProcess* running = start({deck});
    QString diagnostics;
    ASSERT_TRUE(waitForDiagnostic(running, QStringLiteral("window shown for \"") + deck, &diagnostics))
        << diagnostics.toStdString();
    EXPECT_EQ(running->state(), QProcess::Running);
}

} // namespace
