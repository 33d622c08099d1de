#include "Twips.h"
#include "Version.h"
#include "frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString kTitle = u"ミルカ！！！（地方版）"_s;

// What a modal window looked like when the test answered it.
struct SeenBox {
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons;
};

// Watches for a message box and answers it with OK, keeping what it showed. The watch ends
// with the test function, so it cannot answer a box of a later test.
void watchForMessageBox(QTimer &watch, SeenBox &seen)
{
    QObject::connect(&watch, &QTimer::timeout, [&watch, &seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        watch.stop();
        seen.seen = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        QTest::keyClick(box, Qt::Key_Return);
    });
    watch.start(10);
}

enum class Close { Esc, Enter, ClickOK, CloseBox };

} // namespace

Q_DECLARE_METATYPE(Close)

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void window();
    void openedTwiceShowsTheSame();
    void closes_data();
    void closes();
    void description();
    void sysInfo_data();
    void sysInfo();
};

void AboutTest::window()
{
    frmAbout about;
    QCOMPARE(about.geometry(), twipsRect(2340, 1935, 5730, 4050));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    const Qt::WindowFlags flags = about.windowFlags();
    QCOMPARE(about.windowType(), Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

    QCOMPARE(about.findChild<QPushButton *>(u"cmdSysInfo"_s)->text(), u"ｼｽﾃﾑ情報(&S)..."_s);
    QVERIFY(about.findChild<QPushButton *>(u"cmdOK"_s)->isDefault());
    QVERIFY(about.findChild<QLabel *>(u"Label1"_s)->text().contains(u"トモロ"_s));

    // The etched separator: the grey line lies on the white one's upper row.
    const auto *white = about.findChild<QWidget *>(u"Line1(0)"_s);
    const auto *grey = about.findChild<QWidget *>(u"Line1(1)"_s);
    QVERIFY(white && grey);
    QCOMPARE(grey->palette().color(QPalette::Window), QColor(128, 128, 128));
    QCOMPARE(grey->y(), white->y());
    QVERIFY(about.children().indexOf(grey) > about.children().indexOf(white));
}

void AboutTest::openedTwiceShowsTheSame()
{
    const QString version = u"ﾊﾞｰｼﾞｮﾝ "_s + QLatin1String(milka::kVersionText);
    for (int opening = 1; opening <= 2; ++opening) {
        frmAbout about;
        QString focusAtOpen;
        QTimer::singleShot(0, &about, [&] {
            if (QApplication::activeModalWidget() == &about &&
                QTest::qWaitForWindowActive(&about) && QApplication::focusWidget())
                focusAtOpen = QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        about.exec();
        QCOMPARE(focusAtOpen, u"cmdOK"_s);
        QCOMPARE(about.windowTitle(), kTitle + u"のﾊﾞｰｼﾞｮﾝ情報"_s);
        QCOMPARE(about.findChild<QLabel *>(u"lblTitle"_s)->text(), kTitle);
        QCOMPARE(about.findChild<QLabel *>(u"lblVersion"_s)->text(), version);
    }
}

void AboutTest::closes_data()
{
    QTest::addColumn<Close>("how");
    QTest::newRow("Esc") << Close::Esc;
    QTest::newRow("Enter on OK") << Close::Enter;
    QTest::newRow("OK") << Close::ClickOK;
    QTest::newRow("close box") << Close::CloseBox;
}

void AboutTest::closes()
{
    QFETCH(Close, how);
    frmAbout about;
    int started = 0;
    about.setSysInfoStarter([&] { return ++started, true; });
    bool leftOpen = false;
    QTimer::singleShot(0, &about, [&] {
        auto *ok = about.findChild<QPushButton *>(u"cmdOK"_s);
        if (!QTest::qWaitForWindowActive(&about))
            return about.done(-1);
        switch (how) {
        case Close::Esc:
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            break;
        case Close::Enter:
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            break;
        case Close::ClickOK:
            QTest::mouseClick(ok, Qt::LeftButton);
            break;
        case Close::CloseBox:
            about.windowHandle()->close();
            break;
        }
        if (about.isVisible()) {
            leftOpen = true;
            about.done(-1);
        }
    });
    about.exec();
    QVERIFY2(!leftOpen, "the dialog stayed open");
    QCOMPARE(started, 0);
}

void AboutTest::description()
{
    frmAbout about;
    const QString text = about.findChild<QLabel *>(u"lblDescription"_s)->text();
    const QStringList sentences = {
        u"ミルカソフトです。"_s,
        u"的中実績有り！？"_s,
        u"尚、出た結果につきましては当方は一切責任を負いかねますので、御了承下さい。"_s,
        u"ご意見ご要望がありましたら、下記までメールいただけたらと思います。"_s,
    };
    const QList<int> runs = {11, 14, 27, 34};

    qsizetype at = 0;
    for (qsizetype i = 0; i < sentences.size(); ++i) {
        QVERIFY2(text.mid(at).startsWith(sentences[i]), qPrintable(sentences[i]));
        at += sentences[i].size();
        qsizetype run = 0;
        while (at < text.size() && text[at] == QChar(0x3000))
            ++run, ++at;
        QCOMPARE(run, runs[i]);
    }
    const QString address = text.mid(at);
    QVERIFY2(address.endsWith(u"@example.com"_s) && !address.contains(QChar(0x3000)),
             qPrintable(address));
}

void AboutTest::sysInfo_data()
{
    QTest::addColumn<QString>("how"); // "click", "Enter", "Alt+S"
    QTest::addColumn<int>("starter"); // -1: the platform's lookup, 0: fails, 1: starts
    QTest::addColumn<bool>("message");

    // The platform's own lookup: Linux has no system-information program, and the Wine prefix
    // of the Windows tests registers one that is not there, so no test starts a real one.
    QTest::newRow("platform, click") << "click" << -1 << true;
    QTest::newRow("fails, click") << "click" << 0 << true;
    QTest::newRow("fails, Enter on the button") << "Enter" << 0 << true;
    QTest::newRow("fails, access key") << "Alt+S" << 0 << true;
    QTest::newRow("starts, click") << "click" << 1 << false;
}

void AboutTest::sysInfo()
{
    QFETCH(QString, how);
    QFETCH(int, starter);
    QFETCH(bool, message);

    frmAbout about;
    int calls = 0;
    if (starter >= 0)
        about.setSysInfoStarter([&] { return ++calls, starter == 1; });
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    auto *button = about.findChild<QPushButton *>(u"cmdSysInfo"_s);

    SeenBox box;
    QTimer watch;
    watchForMessageBox(watch, box);
    if (how == u"click"_s) {
        QTest::mouseClick(button, Qt::LeftButton);
    } else if (how == u"Enter"_s) {
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
    } else {
        QTest::keyClick(&about, Qt::Key_S, Qt::AltModifier);
    }
    // The access key clicks the button a moment later, as a click the user can see.
    if (message)
        QTRY_VERIFY(box.seen);
    QCoreApplication::processEvents();
    QCOMPARE(box.seen, message);
    if (starter >= 0)
        QCOMPARE(calls, 1);
    QVERIFY(about.isVisible());
    if (!message)
        return;
    QCOMPARE(box.text, u"現時点ではｼｽﾃﾑ情報を使用できません"_s);
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

QTEST_MAIN(AboutTest)
#include "AboutTest.moc"
