#include "Form1TestSupport.h"
#include "LicenceNotice.h"
#include "Twips.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

// What the input controls of the main window do.
class Form1BehaviourTests : public Form1TestCase<EmptySpat4Folder> {
    Q_OBJECT
private slots:
    void initTestCase() { installJapaneseUi(); }
    void init() { makeWindow(); }
    void cleanup() { dropWindow(); }

    void fullWidthInput_data();
    void fullWidthInput();
    void pastedFullWidthKeepsMaximumLength();
    void depthOptionsKeepText();
    void clickBesideABoxKeepsTheCaret();
    void kindOptionsChangeCaptionsOnly_data();
    void kindOptionsChangeCaptionsOnly();
    void clearButtons_data();
    void clearButtons();
    void closeBoxRefused();
    void venueButtonsEnableRaces();
    void venueAvailability();
    void raceButtonEnablesLoad();
    void loadWithNothingSelected();
    void loadCancelled();
    void exitCancelled();
    void licenceNotice();
    void licenceNoticeOfAnInstalledProgram();
    void aboutBoxOwnedByTheWindow();
    // Last: ending the event loop leaves later event loops of this process unusable.
    void exitEndsEventLoop();

private:
    void fillGrid(const QString &text);
};

void Form1BehaviourTests::fillGrid(const QString &text)
{
    for (int r = 1; r <= 16; ++r)
        for (int c = 1; c <= 5; ++c)
            m_form->Text(c, r)->setText(text);
}

void Form1BehaviourTests::fullWidthInput_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digits") << 1 << QStringLiteral("１２") << "12";
    QTest::newRow("third character refused") << 2 << QStringLiteral("１２３") << "12";
    QTest::newRow("half-width refused too") << 3 << "123"
                                            << "12";
    QTest::newRow("minus") << 3 << QStringLiteral("－１") << "-1";
    QTest::newRow("long-vowel mark as minus") << 3 << QStringLiteral("ー３") << "-3";
    QTest::newRow("ideographic space") << 1 << QStringLiteral("　７") << " 7";
    QTest::newRow("odds with point") << 4 << QStringLiteral("１．３５") << "1.35";
    QTest::newRow("sixth character refused") << 5 << QStringLiteral("１２．３４５") << "12.34";
    QTest::newRow("exponent and plus") << 4 << QStringLiteral("９Ｅ＋９") << "9E+9";
    QTest::newRow("other text kept") << 5 << QStringLiteral("あ1") << QStringLiteral("あ1");
}

void Form1BehaviourTests::fullWidthInput()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QLineEdit *box = m_form->Text(column, 5);
    typeText(box, typed);
    QCOMPARE(box->text(), shown);
    QVERIFY(!box->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(box->inputMethodHints().testFlag(Qt::ImhPreferLatin));
}

void Form1BehaviourTests::pastedFullWidthKeepsMaximumLength()
{
    QApplication::clipboard()->setText(QStringLiteral("１．２３４５６"));
    QLineEdit *box = m_form->Text(4, 1);
    box->paste();
    QCOMPARE(box->text(), QStringLiteral("1.234"));
}

// A click on what takes no input (a row number, a heading, a frame, the empty area) leaves the
// caret in the box, and the next key lands there, as the user typing a row expects.
void Form1BehaviourTests::clickBesideABoxKeepsTheCaret()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QLineEdit *box = m_form->Text(1, 1);
    box->setFocus();
    QTest::keyClick(m_form->windowHandle(), Qt::Key_5);
    QList<QWidget *> besides; // row number 3, the heading "複勝オッズ", a frame, the empty area
    besides << m_form->Label2(2) << m_form->Label(6) << m_form->Frame(1)
            << m_form->findChild<QWidget *>(QStringLiteral("ClientArea"));
    for (QWidget *beside : besides) {
        QTest::mouseClick(beside, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(QApplication::focusWidget(), box);
        box->setText(QStringLiteral("5"));
        QTest::keyClick(m_form->windowHandle(), Qt::Key_3);
        QVERIFY2(box->text() == QStringLiteral("53"), qPrintable(beside->objectName()));
    }
}

void Form1BehaviourTests::depthOptionsKeepText()
{
    QTest::keyClicks(m_form->Text(1, 1), QStringLiteral("3"));
    QTest::keyClicks(m_form->Text(2, 16), QStringLiteral("4"));

    const auto enabledColumns = [this](int row) {
        return QList<bool>{m_form->Text(1, row)->isEnabled(), m_form->Text(2, row)->isEnabled(),
                           m_form->Text(3, row)->isEnabled()};
    };
    m_form->Option(14)->click();
    for (int r = 1; r <= 16; ++r)
        QCOMPARE(enabledColumns(r), (QList<bool>{false, true, true}));
    m_form->Option(15)->click();
    for (int r = 1; r <= 16; ++r)
        QCOMPARE(enabledColumns(r), (QList<bool>{false, false, true}));
    m_form->Option(14)->click(); // Text2 comes back, Text1 stays disabled
    QCOMPARE(enabledColumns(16), (QList<bool>{false, true, true}));
    m_form->Option(13)->click();
    for (int r = 1; r <= 16; ++r)
        QCOMPARE(enabledColumns(r), (QList<bool>{true, true, true}));

    QCOMPARE(m_form->Text(1, 1)->text(), QStringLiteral("3"));
    QCOMPARE(m_form->Text(2, 16)->text(), QStringLiteral("4"));
    QVERIFY(m_form->Option(13)->isChecked() && !m_form->Option(14)->isChecked());
}

void Form1BehaviourTests::kindOptionsChangeCaptionsOnly_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("clearCaption");
    QTest::newRow("着順") << 17 << QStringLiteral("前3走までの着順位")
                          << QStringLiteral("着順位データクリア");
    QTest::newRow("人気") << 16 << QStringLiteral("前3走までの人気順位")
                          << QStringLiteral("人気順位データクリア");
}

void Form1BehaviourTests::kindOptionsChangeCaptionsOnly()
{
    QFETCH(int, option);
    QFETCH(QString, heading);
    QFETCH(QString, clearCaption);
    m_form->Option(17)->click(); // from the other caption, so 人気 shows a change back
    fillGrid(QStringLiteral("2"));
    m_form->Option(option)->click();
    QCOMPARE(m_form->Label(7)->text(), heading);
    QCOMPARE(m_form->Label(7)->size(), m_form->Label(7)->sizeHint()); // still autosized
    QCOMPARE(m_form->Command(2)->text(), clearCaption);
    QCOMPARE(m_form->Text(1, 1)->text(), QStringLiteral("2"));
}

void Form1BehaviourTests::clearButtons_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QList<int>>("cleared");
    const QList<int> none;
    QTest::newRow("Command2 OK") << 2 << true << QList<int>{1, 2, 3};
    QTest::newRow("Command2 Cancel") << 2 << false << none;
    QTest::newRow("Command2 Enter") << 2 << false << none;
    QTest::newRow("Command3 OK") << 3 << true << QList<int>{4, 5};
    QTest::newRow("Command3 Cancel") << 3 << false << none;
    QTest::newRow("Command3 Enter") << 3 << false << none;
}

void Form1BehaviourTests::clearButtons()
{
    QFETCH(int, command);
    QFETCH(bool, ok);
    QFETCH(QList<int>, cleared);
    fillGrid(QStringLiteral("9"));
    m_form->Option(15)->click(); // disabled boxes are emptied as well
    const bool enter = QByteArray(QTest::currentDataTag()).endsWith("Enter");

    BoxAnswerer answerer(
        {enter ? Answer::enter() : Answer::click(ok ? QMessageBox::Ok : QMessageBox::Cancel)});
    QTest::mouseClick(m_form->Command(command), Qt::LeftButton);

    QCOMPARE(answerer.seen().size(), size_t(1));
    const SeenBox &box = answerer.seen()[0];
    QCOMPARE(box.text, QStringLiteral("消去してよろしいですか？"));
    QCOMPARE(box.title, QStringLiteral("終了確認"));
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(box.defaultButton, QStringLiteral("キャンセル"));
    QCOMPARE(box.buttons.size(), 2);
    QVERIFY(box.buttons.contains(QStringLiteral("OK")));

    for (int r = 1; r <= 16; ++r) {
        for (int c = 1; c <= 5; ++c)
            QCOMPARE(m_form->Text(c, r)->text(),
                     cleared.contains(c) ? QString() : QStringLiteral("9"));
    }
}

void Form1BehaviourTests::closeBoxRefused()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));

    // The window system's close request (close box, Alt+F4) is refused without a message.
    QCloseEvent request;
    QSpontaneKeyEvent::setSpontaneous(&request);
    QApplication::instance()->notify(m_form.get(), &request);
    QVERIFY(!request.isAccepted());
    QVERIFY(m_form->isVisible());
    QVERIFY(!QApplication::activeModalWidget());

    // A close from program code goes through.
    QVERIFY(m_form->close());
    QVERIFY(!m_form->isVisible());
}

void Form1BehaviourTests::venueButtonsEnableRaces()
{
    auto &table = m_state->availability.RaceFileTable;
    table[61][1] = table[61][3] = table[61][11] = 1; // 大井 races 1, 3 and 11
    table[56][5] = 1;                                // 浦和 race 5
    for (int n : {21, 22, 23, 24})
        m_form->Option(n)->setEnabled(true);

    m_form->Option(21)->click();
    m_form->Option(5)->click();
    QVERIFY(m_form->Option(5)->isChecked());

    m_form->Option(23)->click();
    for (int race = 1; race <= 12; ++race)
        QCOMPARE(m_form->Option(race)->isEnabled(), race == 1 || race == 3 || race == 11);
    // The selection is not touched: race 5 stays selected though it is now disabled.
    QVERIFY(m_form->Option(5)->isChecked());

    m_form->Option(22)->click(); // 川崎 has no files
    for (int race = 1; race <= 12; ++race)
        QVERIFY(!m_form->Option(race)->isEnabled());
}

void Form1BehaviourTests::venueAvailability()
{
    spat4::Availability availability;
    availability.VenueFileFlags[61] = 1;
    availability.VenueFileFlags[58] = 1; // a code no button reads
    m_form->applyVenueAvailability(availability);
    QCOMPARE(m_form->Option(21)->isEnabled(), false);
    QCOMPARE(m_form->Option(22)->isEnabled(), false);
    QCOMPARE(m_form->Option(23)->isEnabled(), true);
    QCOMPARE(m_form->Option(24)->isEnabled(), false);
    QCOMPARE(m_form->Option(30)->isEnabled(), false);
}

void Form1BehaviourTests::raceButtonEnablesLoad()
{
    m_form->LOADHO()->setEnabled(false);
    m_form->Option(7)->setEnabled(true);
    m_form->Option(7)->click();
    QVERIFY(m_form->LOADHO()->isEnabled());
}

void Form1BehaviourTests::loadWithNothingSelected()
{
    const QString label1 = m_form->Label(1)->text();
    BoxAnswerer answerer({Answer::click(QMessageBox::Ok), Answer::click(QMessageBox::Ok)});
    m_form->LOADHO()->trigger();

    QCOMPARE(answerer.seen().size(), size_t(2));
    QCOMPARE(answerer.seen()[0].text, QStringLiteral("ｵｯｽﾞを読み込みますか？"));
    QCOMPARE(answerer.seen()[0].title, QStringLiteral("終了確認"));
    QCOMPARE(answerer.seen()[0].icon, QMessageBox::Question);
    QCOMPARE(answerer.seen()[0].defaultButton, QStringLiteral("キャンセル"));
    QCOMPARE(answerer.seen()[1].text, QStringLiteral("読込データがありませんでした。"));
    QCOMPARE(answerer.seen()[1].title, QStringLiteral("読込みデータ確認"));
    QCOMPARE(answerer.seen()[1].icon, QMessageBox::Warning);
    QCOMPARE(answerer.seen()[1].buttons, QStringList{"OK"});
    QCOMPARE(m_form->Label(1)->text(), label1);
    QCOMPARE(m_state->race.RunnerCount, 8);
}

void Form1BehaviourTests::loadCancelled()
{
    m_form->Text(4, 1)->setText(QStringLiteral("1.5"));
    BoxAnswerer answerer({Answer::enter()});
    m_form->LOADHO()->trigger();
    QCOMPARE(answerer.seen().size(), size_t(1)); // no warning after Cancel
    QCOMPARE(m_form->Text(4, 1)->text(), QStringLiteral("1.5"));
    QVERIFY(m_state->loader.OddsFilePath.empty());
}

void Form1BehaviourTests::exitCancelled()
{
    int ended = 0;
    m_form->setProgramEnd([&ended] { ++ended; });
    BoxAnswerer answerer({Answer::enter()});
    m_form->FIN()->trigger();
    QCOMPARE(answerer.seen().size(), size_t(1));
    QCOMPARE(answerer.seen()[0].text, QStringLiteral("終了してよろしいですか？"));
    QCOMPARE(answerer.seen()[0].title, QStringLiteral("終了確認"));
    QCOMPARE(answerer.seen()[0].defaultButton, QStringLiteral("キャンセル"));
    QCOMPARE(ended, 0);
}

#ifndef Q_OS_WIN
// The package that holds a file loaded into this process and its version, as dpkg-query tells:
// the file's name from /proc/self/maps, tried with and without /usr (on a merged-/usr system
// dpkg may list it under /lib).
struct HoldingPackage {
    QString name, version;
};
HoldingPackage packageOfLoaded(const QString &fileNamePrefix)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    QString path;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const QString file = QString::fromUtf8(line.mid(line.indexOf('/')));
        if (line.contains('/') && QFileInfo(file).fileName().startsWith(fileNamePrefix)) {
            path = file;
            break;
        }
    }
    const auto dpkgQuery = [](const QStringList &arguments) {
        QProcess query;
        query.start(QStringLiteral("dpkg-query"), arguments);
        query.waitForFinished();
        return query.exitCode() == 0 ? QString::fromUtf8(query.readAllStandardOutput()) : QString();
    };
    for (const QString &name : {path, path.startsWith(QLatin1String("/usr/")) ? path.mid(4) : path}) {
        const QString found = dpkgQuery({QStringLiteral("-S"), name}); // "libc6:amd64: /lib/..."
        if (found.isEmpty())
            continue;
        const QString package = found.section(u':', 0, 0);
        return {package, dpkgQuery({QStringLiteral("-W"), QStringLiteral("-f=${Version}"),
                                    found.section(QStringLiteral(": "), 0, 0)})};
    }
    return {};
}
#endif

// ライセンス情報 shows Qt's notice and the way to every licence text, in a plain box the user
// closes. On Linux the libraries are named as the running system has them: their versions and
// their packages' folders, as dpkg tells; a program run from its build folder names no folder
// of its own.
void Form1BehaviourTests::licenceNotice()
{
    BoxAnswerer answerer({Answer::enter()});
    m_form->LIC()->trigger();
    QCOMPARE(answerer.seen().size(), size_t(1));
    const SeenBox &box = answerer.seen()[0];
    QCOMPARE(box.title, QStringLiteral("ライセンス情報"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QStringList{QStringLiteral("OK")});
    const QStringList lines = box.text.split(u'\n');
    QCOMPARE(lines.mid(0, 2), (QStringList{QStringLiteral("このプログラムは、次のライブラリを使っています。"), {}}));
    QVERIFY(lines.contains(QStringLiteral("　Copyright (C) The Qt Company Ltd. and other contributors.")));
    QVERIFY(lines.contains(QStringLiteral("　ライセンス：GNU LGPL v3（GNU GPL v3 に基づきます）")));
#ifdef Q_OS_WIN
    QVERIFY(lines.contains(QStringLiteral("・Qt %1（Qt Core、Qt GUI、Qt Widgets）").arg(qVersion())));
    // The folder beside milka.exe, as the packages lay it out: a full Windows path.
    QVERIFY2(lines.last().contains(QRegularExpression(QStringLiteral("^[A-Z]:\\\\.+\\\\LICENSES$"))),
             qPrintable(lines.last()));
    QVERIFY(box.text.contains(QStringLiteral("MinGW-w64 runtime licensing")));
#else
    const HoldingPackage qt = packageOfLoaded(QStringLiteral("libQt6Core.so"));
    const HoldingPackage libc = packageOfLoaded(QStringLiteral("libc.so"));
    QVERIFY2(!qt.name.isEmpty() && !libc.name.isEmpty(), "dpkg-query names no package");
    // The upstream version leads the package's: 6.4.2+dfsg-10, 2.36-9+deb12u10.
    const QString qtLine = lines.value(lines.indexOf(QRegularExpression(QStringLiteral("^・Qt .*"))));
    QVERIFY2(qtLine.startsWith(QStringLiteral("・Qt ") + qt.version.section(u'+', 0, 0).section(u'-', 0, 0) +
                               QStringLiteral("（")),
             qPrintable(qtLine + " / " + qt.name + " " + qt.version));
    const QString libcLine = lines.value(lines.indexOf(QRegularExpression(QStringLiteral("^・glibc .*"))));
    QVERIFY2(libcLine.startsWith(QStringLiteral("・glibc ") + libc.version.section(u'-', 0, 0) +
                                 QStringLiteral("（")),
             qPrintable(libcLine + " / " + libc.name + " " + libc.version));
    for (const auto &[name, prefix] : {std::pair{"Qt Core", "libQt6Core.so"}, {"Qt Widgets", "libQt6Widgets.so"},
                                       {"libstdc++", "libstdc++.so"}, {"glibc", "libc.so"}}) {
        const QString expected = QStringLiteral("/usr/share/doc/%1（%2 の copyright）")
                                     .arg(packageOfLoaded(QString::fromUtf8(prefix)).name, QString::fromUtf8(name));
        QVERIFY2(lines.contains(expected), qPrintable(expected));
    }
    QVERIFY(!box.text.contains(QStringLiteral("/usr/share/doc/milka")));
    QCOMPARE(lines.last(), QStringLiteral("/usr/share/common-licenses（GPL-3、LGPL-3、LGPL-2.1）"));
#endif
}

// The notice of a program installed from the package, on a system whose Qt GUI came from no
// package, line by line as the user reads it.
void Form1BehaviourTests::licenceNoticeOfAnInstalledProgram()
{
    LinuxSystem system;
    system.qtVersion = QStringLiteral("6.8.2");
    system.libcVersion = QStringLiteral("2.41");
    system.libraries = {{QStringLiteral("Qt Core"), QStringLiteral("/usr/lib/libQt6Core.so.6"),
                         QStringLiteral("/usr/share/doc/libqt6core6t64")},
                        {QStringLiteral("Qt GUI"), QStringLiteral("/opt/qt/lib/libQt6Gui.so.6"), {}}};
    system.programCopyrightFolder = QStringLiteral("/usr/share/doc/milka");
    QCOMPARE(linuxLicenceNotice(system).split(u'\n'),
             (QStringList{
                 QStringLiteral("このプログラムは、次のライブラリを使っています。"),
                 QString(),
                 QStringLiteral("・Qt 6.8.2（Qt Core、Qt GUI、Qt Widgets）"),
                 QStringLiteral("　Copyright (C) The Qt Company Ltd. and other contributors."),
                 QStringLiteral("　ライセンス：GNU LGPL v3（GNU GPL v3 に基づきます）"),
                 QStringLiteral("・GNU C++ ライブラリ（libstdc++）"),
                 QStringLiteral("　ライセンス：GNU GPL v3 と GCC Runtime Library Exception 3.1"),
                 QStringLiteral("・glibc 2.41（GNU C ライブラリ。文字コードの変換）"),
                 QStringLiteral("　ライセンス：GNU LGPL v2.1 以降"),
                 QString(),
                 QStringLiteral("ライセンスの全文は、次の場所にあります。"),
                 QStringLiteral("/usr/share/doc/milka（このプログラム）"),
                 QStringLiteral("/usr/share/doc/libqt6core6t64（Qt Core の copyright）"),
                 QStringLiteral("/opt/qt/lib/libQt6Gui.so.6（Qt GUI。パッケージの copyright は見つかりません）"),
                 QStringLiteral("/usr/share/common-licenses（GPL-3、LGPL-3、LGPL-2.1）"),
             }));
    QCOMPARE(windowsLicenceNotice(QStringLiteral("6.4.2"),
                                  QStringLiteral("C:\\Program Files\\ミルカ！！！（地方版）\\LICENSES"))
                 .split(u'\n'),
             (QStringList{
                 QStringLiteral("このプログラムは、次のライブラリを使っています。"),
                 QString(),
                 QStringLiteral("・Qt 6.4.2（Qt Core、Qt GUI、Qt Widgets）"),
                 QStringLiteral("　Copyright (C) The Qt Company Ltd. and other contributors."),
                 QStringLiteral("　ライセンス：GNU LGPL v3（GNU GPL v3 に基づきます）"),
                 QStringLiteral("　Qt に組み込まれた zlib、PCRE2、FreeType、HarfBuzz、libpng などは、それぞれのライセンスによります。"),
                 QStringLiteral("・GCC の実行時ライブラリ（libstdc++、libgcc）"),
                 QStringLiteral("　ライセンス：GNU GPL v3 と GCC Runtime Library Exception 3.1"),
                 QStringLiteral("・MinGW-w64 の実行時ライブラリと winpthreads"),
                 QStringLiteral("　ライセンス：MinGW-w64 runtime licensing、MIT 形式"),
                 QString(),
                 QStringLiteral("ライセンスの全文は、このプログラムと同じ場所の LICENSES フォルダにあります。"),
                 QStringLiteral("C:\\Program Files\\ミルカ！！！（地方版）\\LICENSES"),
             }));
}

// VER opens the About box as the window's own: its parent is the main window, and the window
// system is told so (the transient parent of its window), while it keeps its designed place.
void Form1BehaviourTests::aboutBoxOwnedByTheWindow()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QWidget *parent = nullptr;
    QWindow *transientParent = nullptr;
    QRect geometry;
    QString title;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget *about = QApplication::activeModalWidget();
        if (about == nullptr || !QTest::qWaitForWindowExposed(about))
            return;
        watch.stop();
        parent = about->parentWidget();
        transientParent =
            about->windowHandle() ? about->windowHandle()->transientParent() : nullptr;
        geometry = about->geometry();
        title = about->windowTitle();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    watch.start(10);
    m_form->VER()->trigger();

    QCOMPARE(title, QStringLiteral("ミルカ！！！（地方版）のﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(parent, m_form.get());
    QVERIFY(transientParent != nullptr);
    QCOMPARE(transientParent, m_form->windowHandle());
    QCOMPARE(geometry, QRect(twips(2340), twips(1935), twips(5730), twips(4050)));
    QVERIFY(!QApplication::activeModalWidget());
}

void Form1BehaviourTests::exitEndsEventLoop()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));

    // The real ending: OK in the exit confirmation ends the running event loop at once,
    // without asking the window to close.
    BoxAnswerer answerer({Answer::click(QMessageBox::Ok)});
    QEventLoop loop;
    QTimer::singleShot(0, m_form->FIN(), &QAction::trigger);
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, &loop, [&loop] { loop.exit(1); });
    safety.start(20000);
    const int code = loop.exec();
    QCOMPARE(code, 0);
    QCOMPARE(answerer.seen().size(), size_t(1));
    QVERIFY(m_form->isVisible()); // ended, not closed
}

QTEST_MAIN(Form1BehaviourTests)
#include "Form1BehaviourTests.moc"
