#include "Form3.h"
#include "Module1.h"
#include "Twips.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs the dialog modally and, from its own event loop, does what the user does. The dialog
// is closed by force if the action leaves it open, so a wrong answer fails instead of hanging.
struct ModalRun {
    int result = -1;
    bool wasActive = false;
    QString focusAtOpen;
    bool leftOpen = false;
};

ModalRun runModal(Form3 &dialog, const std::function<void()> &action)
{
    ModalRun run;
    QTimer::singleShot(0, &dialog, [&] {
        run.wasActive =
            QApplication::activeModalWidget() == &dialog && QTest::qWaitForWindowActive(&dialog);
        if (QWidget *focus = QApplication::focusWidget())
            run.focusAtOpen = focus->objectName();
        action();
        if (dialog.isVisible()) {
            run.leftOpen = true;
            dialog.done(-1);
        }
    });
    run.result = dialog.exec();
    return run;
}

enum class Action { Click, Key, CloseBox };

} // namespace

Q_DECLARE_METATYPE(Action)

class Form3Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void layout_data();
    void layout();
    void windowAndLoad();
    void tabOrder();
    void answers_data();
    void answers();
    void calendarShowsTheWholeWeek();
};

void Form3Test::initTestCase()
{
    // Start-up makes Japanese the program's locale; the calendar follows it.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

void Form3Test::layout_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twipsGeometry");
    QTest::addColumn<QString>("toolTip");

    // clang-format off
    QTest::newRow("MonthView1") << "QCalendarWidget" << "" << QRect(3120, 1080, 2385, 2220) << "";
    QTest::newRow("Command3") << "QPushButton" << u"キャンセル"_s << QRect(480, 2640, 2295, 615) << "";
    QTest::newRow("Command2") << "QPushButton" << u"SPAT4データ\u3000無"_s << QRect(480, 1920, 2295, 615)
                              << u"PATデータの無い方\u3000又は\u3000使用しない方"_s;
    QTest::newRow("Command1") << "QPushButton" << u"SPAT4データ\u3000有"_s << QRect(480, 1200, 2295, 615)
                              << u"PATデータのある方"_s;
    QTest::newRow("Label2") << "QLabel"
        << u"※SPAT4でデータを読込んでから利用したい方は、キャンセルをクリックして終了していただき、SPAT4複勝データデータを読込んでから起動して下さい。"_s
        << QRect(480, 3480, 3735, 855) << "";
    QTest::newRow("Label1") << "QLabel"
        << u"SPAT4で複勝オッズデータを読込まれていますか？ （取り込まれていれば、そのデータを利用できます。）"_s
        << QRect(240, 240, 5415, 615) << "";
    // clang-format on
}

void Form3Test::layout()
{
    QFETCH(QString, className);
    QFETCH(QString, text);
    QFETCH(QRect, twipsGeometry);
    QFETCH(QString, toolTip);

    Module1 state;
    Form3 dialog(state);
    const auto *control = dialog.findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(control);
    QCOMPARE(control->metaObject()->className(), className);
    QCOMPARE(control->geometry(), twipsRect(twipsGeometry.x(), twipsGeometry.y(),
                                            twipsGeometry.width(), twipsGeometry.height()));
    QCOMPARE(control->toolTip(), toolTip);
    if (const auto *button = qobject_cast<const QPushButton *>(control))
        QCOMPARE(button->text(), text);
    if (const auto *label = qobject_cast<const QLabel *>(control))
        QCOMPARE(label->text(), text);
}

void Form3Test::windowAndLoad()
{
    Module1 state;
    Form3 dialog(state);
    QCOMPARE(dialog.windowTitle(), u"SPAT4データ確認"_s);
    QCOMPARE(dialog.geometry(), twipsRect(5370, 3360, 5835, 4470));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

    const QDate before = QDate::currentDate();
    Form3 again(state);
    const auto *calendar = again.findChild<QCalendarWidget *>(QStringLiteral("MonthView1"));
    QVERIFY(calendar->selectedDate() >= before && calendar->selectedDate() <= QDate::currentDate());
    QCOMPARE(calendar->locale(), QLocale(QLocale::Japanese, QLocale::Japan));
    QCOMPARE(state.Spat4DataFlag, std::int16_t{0});
}

void Form3Test::tabOrder()
{
    Module1 state;
    Form3 dialog(state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));
    for (const char *next : {"Command2", "Command3"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    const auto *calendar = dialog.findChild<QCalendarWidget *>(QStringLiteral("MonthView1"));
    QVERIFY(calendar->isAncestorOf(QApplication::focusWidget()));
}

void Form3Test::answers_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("control"); // clicked, or given the focus before the key
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("flagBefore");
    QTest::addColumn<int>("flagAfter");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("endRequested");

    const int accepted = QDialog::Accepted;
    const int end = Form3::EndProgram;
    // clang-format off
    QTest::newRow("有")                 << Action::Click    << "Command1"   << 0                << 0 << 1 << accepted << false;
    QTest::newRow("無")                 << Action::Click    << "Command2"   << 0                << 1 << 0 << accepted << false;
    QTest::newRow("キャンセル")         << Action::Click    << "Command3"   << 0                << 1 << 0 << end      << true;
    QTest::newRow("close box")          << Action::CloseBox << ""           << 0                << 1 << 1 << int(QDialog::Rejected) << false;
    QTest::newRow("Enter at open")      << Action::Key      << ""           << int(Qt::Key_Return) << 0 << 1 << accepted << false;
    QTest::newRow("keypad Enter")       << Action::Key      << ""           << int(Qt::Key_Enter)  << 0 << 1 << accepted << false;
    QTest::newRow("Enter on 無")        << Action::Key      << "Command2"   << int(Qt::Key_Return) << 1 << 0 << accepted << false;
    QTest::newRow("Enter on キャンセル") << Action::Key     << "Command3"   << int(Qt::Key_Return) << 1 << 0 << end      << true;
    QTest::newRow("Enter on calendar")  << Action::Key      << "MonthView1" << int(Qt::Key_Return) << 1 << 0 << end      << true;
    QTest::newRow("Esc at open")        << Action::Key      << ""           << int(Qt::Key_Escape) << 1 << 0 << end      << true;
    QTest::newRow("Esc on calendar")    << Action::Key      << "MonthView1" << int(Qt::Key_Escape) << 1 << 0 << end      << true;
    // clang-format on
}

void Form3Test::answers()
{
    QFETCH(Action, action);
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(int, flagBefore);
    QFETCH(int, flagAfter);
    QFETCH(int, result);
    QFETCH(bool, endRequested);

    Module1 state;
    state.Spat4DataFlag = static_cast<std::int16_t>(flagBefore);
    Form3 dialog(state);
    const ModalRun run = runModal(dialog, [&] {
        switch (action) {
        case Action::Click:
            QTest::mouseClick(dialog.findChild<QPushButton *>(control), Qt::LeftButton);
            break;
        case Action::CloseBox:
            // What the window system sends when the close box is pressed.
            dialog.windowHandle()->close();
            break;
        case Action::Key:
            if (!control.isEmpty())
                dialog.findChild<QWidget *>(control)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            break;
        }
    });

    QVERIFY(run.wasActive);
    QCOMPARE(run.focusAtOpen, QStringLiteral("Command1"));
    QVERIFY2(!run.leftOpen, "the dialog stayed open");
    QCOMPARE(run.result, result);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(state.Spat4DataFlag, std::int16_t(flagAfter));
    QCOMPARE(dialog.endRequested(), endRequested);
}

// All seven day columns, Sunday to Saturday, lie inside the calendar's box as it is laid out.
// This test installs no Japanese fonts, so the MS font name falls back to a wider font, as on a
// Windows without the MS fonts: the calendar must still show Saturday.
void Form3Test::calendarShowsTheWholeWeek()
{
    Module1 state;
    Form3 dialog(state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *calendar = dialog.findChild<QCalendarWidget *>(QStringLiteral("MonthView1"));
    auto *days = calendar->findChild<QTableView *>();
    QVERIFY(days);
    const QRect visible = days->viewport()->rect();
    const QString names[] = {u"日"_s, u"月"_s, u"火"_s, u"水"_s, u"木"_s, u"金"_s, u"土"_s};
    for (int column = 0; column < 7; ++column) {
        const QModelIndex heading = days->model()->index(0, column);
        QCOMPARE(heading.data().toString(), names[column]);
        const QRect cell = days->visualRect(heading);
        QVERIFY2(visible.contains(cell), qPrintable(names[column]));
    }
}

QTEST_MAIN(Form3Test)
#include "Form3Test.moc"
