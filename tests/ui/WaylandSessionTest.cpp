// The program on a Wayland session: a headless weston with XWayland, as a desktop such as KDE
// Plasma starts it. Which platform plugin the program loads is read from its memory map; the
// main window's fit is checked by the placement test run on Wayland itself.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

class WaylandSessionTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void platformOfTheProgram_data();
    void platformOfTheProgram();
    void mainWindowOnWayland();

private:
    // The environment of a program started in the session; display is DISPLAY, none if empty.
    QProcessEnvironment session(const QString &display) const;

    QTemporaryDir m_runtime; // XDG_RUNTIME_DIR, where weston makes its socket
    QProcess m_weston;
    QString m_display; // XWayland's
};

namespace {

const QString kSocket = QStringLiteral("milka-wayland");

// The platform plugins a running process has loaded, as its memory map shows them:
// "libqxcb.so". Qt keeps a plugin that failed mapped while it goes on to the next.
QStringList platformPluginsOf(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    QStringList plugins;
    const QString text = QString::fromLocal8Bit(maps.readAll());
    for (const auto &match :
         QRegularExpression(QStringLiteral("/platforms/(libq[^/\\s]+\\.so)")).globalMatch(text))
        if (!plugins.contains(match.captured(1)))
            plugins << match.captured(1);
    return plugins;
}

} // namespace

void WaylandSessionTest::initTestCase()
{
    const QString weston = QStandardPaths::findExecutable(QStringLiteral("weston"));
    QVERIFY2(!weston.isEmpty() &&
                 !QStandardPaths::findExecutable(QStringLiteral("Xwayland")).isEmpty(),
             "weston and Xwayland are missing (tools/install-deps installs them)");
    QVERIFY(m_runtime.isValid());
    QFile::setPermissions(m_runtime.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // 600 pixels high: too low for the whole main window, which must then be cut to fit.
    const QString log = m_runtime.filePath(QStringLiteral("weston.log"));
    m_weston.setProcessEnvironment(session({}));
    m_weston.setProcessChannelMode(QProcess::ForwardedChannels);
    m_weston.start(weston, {QStringLiteral("--backend=headless-backend.so"),
                            QStringLiteral("--socket=") + kSocket, QStringLiteral("--xwayland"),
                            QStringLiteral("--width=1024"), QStringLiteral("--height=600"),
                            QStringLiteral("--idle-time=0"), QStringLiteral("--log=") + log});
    QVERIFY(m_weston.waitForStarted());
    // XWayland's display as weston logs it; weston takes a free display number.
    const QRegularExpression listening(QStringLiteral("xserver listening on display (:\\d+)"));
    const bool ready = QTest::qWaitFor(
        [&] {
            QFile file(log);
            const auto match = file.open(QIODevice::ReadOnly)
                                   ? listening.match(QString::fromLocal8Bit(file.readAll()))
                                   : QRegularExpressionMatch();
            m_display = match.captured(1);
            return !m_display.isEmpty() && QFile::exists(m_runtime.filePath(kSocket));
        },
        20000);
    QVERIFY2(ready, "weston did not start with XWayland");
    qInfo("weston's socket %s, XWayland's display %s", qPrintable(kSocket), qPrintable(m_display));
}

void WaylandSessionTest::cleanupTestCase()
{
    m_weston.terminate();
    if (!m_weston.waitForFinished(5000))
        m_weston.kill();
    m_weston.waitForFinished();
}

QProcessEnvironment WaylandSessionTest::session(const QString &display) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), kSocket);
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);
    return env;
}

// Where the user has chosen no platform, the program takes X11 when an X display answers, so the
// window manager places its windows as designed; else Wayland. A platform the user chose holds.
void WaylandSessionTest::platformOfTheProgram_data()
{
    QTest::addColumn<QString>("display"); // DISPLAY; "xwayland" for XWayland's, empty for none
    QTest::addColumn<QString>("chosen");  // QT_QPA_PLATFORM; empty for none
    QTest::addColumn<QString>("plugin");  // the start of the plugin's file name

    QTest::newRow("an X display at hand") << "xwayland" << QString() << "libqxcb.so";
    QTest::newRow("no X display") << QString() << QString() << "libqwayland-";
    QTest::newRow("an X display that does not answer") << ":59999" << QString() << "libqwayland-";
    QTest::newRow("Wayland chosen by the user") << "xwayland"
                                                << "wayland"
                                                << "libqwayland-";
}

void WaylandSessionTest::platformOfTheProgram()
{
    QFETCH(QString, display);
    QFETCH(QString, chosen);
    QFETCH(QString, plugin);

    QProcessEnvironment env = session(display == QLatin1String("xwayland") ? m_display : display);
    if (!chosen.isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), chosen);
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(MILKA_PROGRAM), {});
    QVERIFY(program.waitForStarted());
    const auto taken = [&] {
        const QStringList loaded = platformPluginsOf(program.processId());
        return std::any_of(loaded.begin(), loaded.end(),
                           [&](const QString &name) { return name.startsWith(plugin); });
    };
    const bool seen = QTest::qWaitFor(taken, 20000);
    // Still running a moment later: the plugin it took works in this session.
    const bool running = !program.waitForFinished(1500);
    const QStringList loaded = platformPluginsOf(program.processId());
    program.kill();
    program.waitForFinished();
    qInfo("loaded %s", qPrintable(loaded.join(QLatin1Char(' '))));
    QVERIFY2(seen, qPrintable(loaded.join(QLatin1Char(' '))));
    // Qt tries xcb first where it is chosen: taken, it is the only one.
    if (plugin == QLatin1String("libqxcb.so"))
        QCOMPARE(loaded, QStringList{plugin});
    QVERIFY2(running, "the program ended on its own");
}

// With no X display the program runs on Wayland, where the main window shows and fits the
// screen that Wayland reports (the placement test, run on Wayland).
void WaylandSessionTest::mainWindowOnWayland()
{
    QProcessEnvironment env = session({});
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    QProcess test;
    test.setProcessEnvironment(env);
    test.setProcessChannelMode(QProcess::MergedChannels);
    test.start(QStringLiteral(MILKA_PLACEMENT_TEST), {QStringLiteral("mainWindowFitsTheWorkArea")});
    QVERIFY(test.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(test.readAll());
    qInfo("%s", qPrintable(output));
    QCOMPARE(test.exitStatus(), QProcess::NormalExit);
    QCOMPARE(test.exitCode(), 0);
    QVERIFY(output.contains(
        QStringLiteral("PASS   : Form1PlacementTest::mainWindowFitsTheWorkArea()")));
}

QTEST_MAIN(WaylandSessionTest)
#include "WaylandSessionTest.moc"
