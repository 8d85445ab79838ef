// The shell's tests: Qt Test classes run one after another on the offscreen platform (on an X
// server, only the display's tests run), with $XDG_CONFIG_HOME in a temporary folder so that no
// test touches the real settings file, nor Qt's own (a file dialog writes QtProject.conf there).
// Test function names on the command line pick tests from whichever class has them.

#include <QApplication>
#include <QMetaMethod>
#include <QTemporaryDir>
#include <QtTest>

#include "shell_fixture.h"

namespace {

bool hasTest(const QObject& tests, const QByteArray& name) {
    // A name may carry a data tag after a colon.
    const qsizetype colon = name.indexOf(':');
    const QByteArray function = colon < 0 ? name : name.left(colon);
    const QMetaObject* meta = tests.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        if (meta->method(i).name() == function) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    if (!config.isValid()) qFatal("cannot make a temporary config folder");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);

    // Options (with the value of those that take one) go to every class, names to their own.
    QList<QByteArray> options;
    QList<QByteArray> names;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg.startsWith('-')) {
            options << arg;
            if ((arg == "-o" || arg == "-maxwarnings") && i + 1 < argc) options << argv[++i];
        } else {
            names << arg;
        }
    }

    using namespace corvan::shell::test;
    // The display's tests need a real window system: they run on the X server of an Xvfb.
    std::vector<std::unique_ptr<QObject> (*)()> classes = {
        makeHostTests,           makeMainWindowTests,     makeMessageWindowTests,
        makePlayerSettingsTests, makeSettingsDialogTests, makeStartUpTests};
    if (QGuiApplication::platformName() == QLatin1String("xcb")) classes = {makeDisplayTests};
    int failed = 0;
    for (auto make : classes) {
        const std::unique_ptr<QObject> tests = make();
        QStringList args{QString::fromLocal8Bit(argv[0])};
        for (const QByteArray& option : options) args << QString::fromLocal8Bit(option);
        bool picked = names.isEmpty();
        for (const QByteArray& name : names) {
            if (!hasTest(*tests, name)) continue;
            args << QString::fromLocal8Bit(name);
            picked = true;
        }
        if (picked) failed += QTest::qExec(tests.get(), args);
    }
    return failed == 0 ? 0 : 1;
}
