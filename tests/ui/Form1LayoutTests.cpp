#include "Form1TestSupport.h"
#include "Twips.h"

#include <QAccessible>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

// The window as built, against the design's tables.
class Form1LayoutTests : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installJapaneseUi(); }
    void init() { m_form = std::make_unique<Form1>(m_state, m_folder); }
    void cleanup() { m_form.reset(); }

    void controls_data();
    void controls();
    void grid_data();
    void grid();
    void tabOrder();
    void menus();
    void windowAndStatusBar();
    void fonts_data();
    void fonts();
    void japaneseQtTexts();
    void accessibleNames_data();
    void accessibleNames();
    void resources();

private:
    QWidget *find(const QString &name) const { return m_form->findChild<QWidget *>(name); }
    Module1 m_state;
    EmptySpat4Folder m_folder;
    std::unique_ptr<Form1> m_form;
};

namespace {

QString captionOf(const QWidget *w)
{
    if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    if (auto *frame = qobject_cast<const QGroupBox *>(w))
        return frame->title();
    return {};
}

enum State { Enabled, Disabled, Selected };

} // namespace

void Form1LayoutTests::controls_data()
{
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twipsGeometry");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("autoSize");

    const auto row = [](const char *name, const char *parent, const char *caption, int l, int t,
                        int w, int h, State state = Enabled, bool autoSize = false) {
        QTest::newRow(name) << QString::fromUtf8(parent) << QString::fromUtf8(caption)
                            << QRect(l, t, w, h) << int(state) << autoSize;
    };
    // clang-format off
    row("Frame4",   "ClientArea", "開催地",         0,    120,  1215, 855);
    row("Frame3",   "ClientArea", "レース",         1190, 120,  2415, 855);
    row("Frame8",   "ClientArea", "前3走データ",    3570, 120,  1215, 855);
    row("Frame5",   "ClientArea", "出走馬数",       4760, 120,  1215, 855);
    row("Frame7",   "ClientArea", "順位入力指定",   5940, 120,  2055, 855);
    row("Option21", "Frame4", "浦和", 120,  240, 495, 255, Disabled);
    row("Option22", "Frame4", "川崎", 600,  240, 495, 255, Disabled);
    row("Option23", "Frame4", "大井", 120,  480, 495, 255, Disabled);
    row("Option24", "Frame4", "船橋", 600,  480, 495, 255, Disabled);
    row("Option30", "Frame4", "小倉", 2160, 480, 495, 255, Disabled);
    row("Option1",  "Frame3", "1",  120,  240, 375, 255, Disabled);
    row("Option6",  "Frame3", "6",  1920, 240, 375, 255, Disabled);
    row("Option7",  "Frame3", "7",  120,  495, 375, 255, Disabled);
    row("Option10", "Frame3", "10", 1200, 495, 375, 255, Disabled);
    row("Option12", "Frame3", "12", 1920, 495, 375, 255, Disabled);
    row("Option16", "Frame8", "人気",  280, 240, 615, 255, Selected);
    row("Option17", "Frame8", "着順",  280, 480, 615, 255);
    row("Option13", "Frame7", "前3走", 240, 240, 735, 255, Selected);
    row("Option14", "Frame7", "前2走", 960, 240, 735, 255);
    row("Option15", "Frame7", "前1走", 240, 480, 735, 255);
    row("Combo1",   "Frame5", "", 240, 360, 735, 300);
    row("Image1",   "ClientArea", "", 8040, 240, 480, 480);
    row("Label22",  "ClientArea", "", 120,  1080, 1095, 255);
    row("Label18",  "ClientArea", "", 1200, 1080, 1095, 255);
    row("Label17",  "ClientArea", "", 2280, 1080, 6135, 255);
    row("Label7",   "ClientArea", "前3走までの人気順位", 720,  1560, 1680, 180, Enabled, true);
    row("Label6",   "ClientArea", "複勝オッズ",          3000, 1560, 840,  180, Enabled, true);
    row("Label3",   "ClientArea", "馬番",                180,  1800, 360,  180, Enabled, true);
    row("Label19",  "ClientArea", "前3走",               750,  1920, 450,  180, Enabled, true);
    row("Label20",  "ClientArea", "前2走",               1320, 1920, 450,  180, Enabled, true);
    row("Label21",  "ClientArea", "前1走",               1920, 1920, 450,  180, Enabled, true);
    row("Label1",   "ClientArea", "",                    2640, 1800, 1575, 375);
    row("Command1", "ClientArea", "ミルカ！！！　　CLICK！！！", 4560, 1680, 3855, 1575);
    row("Frame9",   "ClientArea", "解析中！！！",  4560, 3360, 3855, 615);
    row("ProgressBar1", "Frame9", "", 120, 240, 3615, 255);
    row("Frame1",   "ClientArea", "予想結果！！！", 4560, 4200, 1815, 2895);
    row("Frame2",   "ClientArea", "5点予想！！！", 6600, 4200, 1815, 2895);
    row("Picture1", "ClientArea", "", 4560, 7320, 3855, 1455);
    row("Label8",   "Frame1", "◎", 240, 360,  345, 285, Enabled, true);
    row("Label9",   "Frame1", "○", 240, 840,  345, 285, Enabled, true);
    row("Label10",  "Frame1", "▲", 240, 1320, 345, 285, Enabled, true);
    row("Label23",  "Frame1", "△", 240, 1800, 345, 285, Enabled, true);
    row("Label24",  "Frame1", "△", 240, 2280, 345, 285, Enabled, true);
    row("Label11",  "Frame1", "", 840, 405,  615, 255);
    row("Label12",  "Frame1", "", 840, 885,  615, 255);
    row("Label13",  "Frame1", "", 840, 1365, 615, 255);
    row("Label27",  "Frame1", "", 840, 1850, 615, 255);
    row("Label28",  "Frame1", "", 840, 2350, 615, 255);
    row("Label14",  "Frame2", "", 360, 360,  1095, 375);
    row("Label15",  "Frame2", "", 360, 840,  1095, 375);
    row("Label16",  "Frame2", "", 360, 1320, 1095, 375);
    row("Label25",  "Frame2", "", 360, 1800, 1095, 375);
    row("Label26",  "Frame2", "", 360, 2280, 1095, 375);
    row("Command2", "ClientArea", "人気順位データクリア", 480,  8160, 1815, 615);
    row("Command3", "ClientArea", "オッズデータクリア",   2520, 8160, 1815, 615);
    row("StatusBar1", "ClientArea", "", 0, 8880, 8625, 375);
    // clang-format on
}

void Form1LayoutTests::controls()
{
    QFETCH(QString, parent);
    QFETCH(QString, caption);
    QFETCH(QRect, twipsGeometry);
    QFETCH(int, state);
    QFETCH(bool, autoSize);

    const QWidget *w = find(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(captionOf(w), caption);
    const QRect expected = twipsRect(twipsGeometry.x(), twipsGeometry.y(), twipsGeometry.width(),
                                     twipsGeometry.height());
    if (autoSize) {
        // Autosizing keeps the top-left corner and takes the size of the text.
        QCOMPARE(w->pos(), expected.topLeft());
        QCOMPARE(w->size(), w->sizeHint());
    } else {
        QCOMPARE(w->geometry(), expected);
    }
    QCOMPARE(w->isEnabled(), state != Disabled);
    if (auto *option = qobject_cast<const QRadioButton *>(w))
        QCOMPARE(option->isChecked(), state == Selected);
}

void Form1LayoutTests::grid_data()
{
    QTest::addColumn<int>("row");
    for (int r : {1, 2, 3, 9, 16})
        QTest::addRow("row %d", r) << r;
}

void Form1LayoutTests::grid()
{
    QFETCH(int, row);
    const int top = 2400 + 360 * (row - 1);
    const QString oddsTip =
        QStringLiteral("複勝オッズデータを入力して下さい（但し、読込済みの場合は入力不要です）");
    // clang-format off
    const struct { int column; int left; int maxLength; bool enabled; QString tooltip; } columns[] = {
        {1, 720,  2, false, QStringLiteral("前走データを入力して下さい")},
        {2, 1320, 2, false, QStringLiteral("前走データを入力して下さい")},
        {3, 1920, 2, false, QStringLiteral("前走データを入力して下さい")},
        {4, 2760, 5, true,  oddsTip},
        {5, 3600, 5, true,  oddsTip},
    };
    // clang-format on
    for (const auto &c : columns) {
        auto *box =
            qobject_cast<QLineEdit *>(find(QStringLiteral("Text%1(%2)").arg(c.column).arg(row)));
        QVERIFY(box);
        QCOMPARE(box, m_form->Text(c.column, row));
        QCOMPARE(box->geometry(), twipsRect(c.left, top, 495, 270));
        QCOMPARE(box->maxLength(), c.maxLength);
        QCOMPARE(box->isEnabled(), c.enabled);
        QCOMPARE(box->toolTip(), c.tooltip);
        QVERIFY(box->text().isEmpty());
    }

    auto *number = qobject_cast<QLabel *>(find(QStringLiteral("Label2(%1)").arg(row - 1)));
    QVERIFY(number);
    QCOMPARE(number->text(), QString::number(row));
    QCOMPARE(number->geometry(), twipsRect(240, top, 255, 255));
    QVERIFY(number->font().bold() && number->font().italic());

    // Row 2's "～" is Label5; the others are Label4(0) and Label4(1..14).
    const QString separatorName = row == 1   ? QStringLiteral("Label4(0)")
                                  : row == 2 ? QStringLiteral("Label5")
                                             : QStringLiteral("Label4(%1)").arg(row - 2);
    auto *separator = qobject_cast<QLabel *>(find(separatorName));
    QVERIFY(separator);
    QCOMPARE(separator->text(), QStringLiteral("～"));
    QCOMPARE(separator->pos(), twipsPoint(3360, top));
    QCOMPARE(separator->toolTip(), oddsTip);
}

void Form1LayoutTests::tabOrder()
{
    QStringList expected;
    for (int r = 1; r <= 16; ++r)
        expected << QStringLiteral("Text1(%1)").arg(r) << QStringLiteral("Text2(%1)").arg(r)
                 << QStringLiteral("Text3(%1)").arg(r);
    for (int r = 1; r <= 16; ++r)
        expected << QStringLiteral("Text4(%1)").arg(r) << QStringLiteral("Text5(%1)").arg(r);
    expected << "Command1"
             << "Command2"
             << "Command3"
             << "Option21"
             << "Option22"
             << "Option23"
             << "Option24";
    for (int n = 1; n <= 12; ++n)
        expected << QStringLiteral("Option%1").arg(n);
    expected << "Option16"
             << "Option17"
             << "Combo1"
             << "Option13"
             << "Option14"
             << "Option15"
             << "Option30";

    // Every widget in the focus chain that Tab may stop at, named or not, against the design.
    const auto stopName = [](const QWidget *w) {
        return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                         : w->objectName();
    };
    QStringList chain;
    QWidget *start = find(QStringLiteral("Text1(1)"));
    QWidget *w = start;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(m_form.get()))
            chain << stopName(w);
        w = w->nextInFocusChain();
    } while (w != start && chain.size() <= expected.size());
    QCOMPARE(chain, expected);

    // Tab as the user presses it, as start-up leaves the window, on a window too small for the
    // whole client area: each press goes on to a later control of the design (of a group of
    // option buttons Qt visits one, as Windows does), never to anything else, and scrolls it
    // into view; every enabled box, button and list is reached, and the cycle ends where it
    // began. Shift+Tab goes back.
    m_form->initialiseInputs();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->resize(400, 250);
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    start->setFocus();
    const QWidget *viewport = find(QStringLiteral("ClientArea"))->parentWidget();
    QTRY_VERIFY(viewport->height() < 250 && viewport->width() < 400);
    QStringList pressed;
    qsizetype last = 0;
    do {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QWidget *now = QApplication::focusWidget();
        QVERIFY(now);
        pressed << stopName(now);
        const qsizetype at = expected.indexOf(pressed.last());
        QVERIFY2(at > last || (at == 0 && now == start), qPrintable(pressed.join(' ')));
        last = at;
        const QRect box(now->mapTo(viewport, QPoint(0, 0)), now->size());
        QVERIFY2(viewport->rect().contains(box), qPrintable(pressed.last() + " out of view"));
    } while (last != 0);
    for (const QString &name : expected) {
        const QWidget *control = find(name);
        if (control->isEnabled() && !qobject_cast<const QRadioButton *>(control))
            QVERIFY2(pressed.contains(name), qPrintable(name + " never reached"));
    }
    const QString beforeStart = pressed.value(pressed.size() - 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(stopName(QApplication::focusWidget()), beforeStart);
}

void Form1LayoutTests::menus()
{
    const QList<QAction *> bar = m_form->menuBar()->actions();
    QCOMPARE(bar.size(), 3);
    QCOMPARE(bar[0]->text(), QStringLiteral("ファイル"));
    QCOMPARE(bar[0]->menu(), m_form->FL());
    QCOMPARE(bar[1], m_form->LOADHO());
    QCOMPARE(bar[1]->text(), QStringLiteral("オッズ情報読込"));
    QVERIFY(!bar[1]->menu()); // a command on the bar itself
    QCOMPARE(bar[2]->text(), QStringLiteral("ヘルプ"));
    QCOMPARE(m_form->FL()->actions(), QList<QAction *>{m_form->FIN()});
    QCOMPARE(m_form->FIN()->text(), QStringLiteral("終了"));
    QCOMPARE(m_form->HLP()->actions(), (QList<QAction *>{m_form->VER(), m_form->LIC()}));
    QCOMPARE(m_form->VER()->text(), QStringLiteral("バージョン情報"));
    QCOMPARE(m_form->LIC()->text(), QStringLiteral("ライセンス情報"));
    for (QAction *a : {m_form->FIN(), m_form->LOADHO(), m_form->VER(), m_form->LIC()}) {
        QVERIFY(a->isEnabled());
        QVERIFY(a->shortcut().isEmpty());
        QVERIFY(!a->isCheckable());
    }
}

void Form1LayoutTests::windowAndStatusBar()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("トモロのミルカ！！！（地方版）"));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QCOMPARE(m_form->findChild<QWidget *>(QStringLiteral("ClientArea"))->size(), twipsSize(8625, 9255));

    QCOMPARE(m_form->Combo1()->count(), 9);
    QCOMPARE(m_form->Combo1()->itemText(0), QStringLiteral("8"));
    QCOMPARE(m_form->Combo1()->itemText(8), QStringLiteral("16"));
    QCOMPARE(m_form->Combo1()->currentIndex(), -1);
    QCOMPARE(m_form->ProgressBar1()->minimum(), 0);
    QCOMPARE(m_form->ProgressBar1()->maximum(), Form1::kProgressSteps);
    QCOMPARE(m_form->ProgressBar1()->value(), 0);

    // The date and time panels show today; the text panel stays empty.
    auto *date = m_form->findChild<QLabel *>(QStringLiteral("StatusBar1.Date"));
    auto *time = m_form->findChild<QLabel *>(QStringLiteral("StatusBar1.Time"));
    QVERIFY(date && time);
    QCOMPARE(date->text(), QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    QVERIFY(QTime::fromString(time->text(), QStringLiteral("hh:mm")).isValid());

    // Enlarging the window adds empty space and moves no control.
    const QPoint before = m_form->Command(1)->mapTo(m_form.get(), QPoint());
    const QRect gridBox = m_form->Text(5, 16)->geometry();
    m_form->resize(m_form->size() + QSize(200, 150));
    QTRY_COMPARE(m_form->findChild<QWidget *>(QStringLiteral("ClientArea"))->width(), twips(8625) + 200);
    QCOMPARE(m_form->Command(1)->mapTo(m_form.get(), QPoint()), before);
    QCOMPARE(m_form->Text(5, 16)->geometry(), gridBox);
}

void Form1LayoutTests::fonts_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QStringList>("acceptable");
    QTest::newRow("proportional") << kPGothic
                                  << QStringList{"IPAPGothic", "IPA Pゴシック", "Noto Sans CJK JP"};
    QTest::newRow("fixed") << kGothic
                           << QStringList{"IPAGothic", "IPAゴシック", "Noto Sans Mono CJK JP"};
}

void Form1LayoutTests::fonts()
{
    QFETCH(QString, family);
    QFETCH(QStringList, acceptable);
    const QString used = QFontInfo(QFont(family, 9)).family();
    QVERIFY2(acceptable.contains(used), qPrintable(used));

    // The window's default font is the proportional one at 9 pt; the captions use it too.
    QCOMPARE(m_form->font().family(), kPGothic);
    QCOMPARE(m_form->font().pointSizeF(), 9.0);
    const QFont command1 = m_form->Command(1)->font();
    QCOMPARE(command1.pointSizeF(), 14.25);
    QVERIFY(command1.bold() && command1.italic());
}

void Form1LayoutTests::japaneseQtTexts()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("x"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("OK"));

    // The text boxes' own context menu.
    std::unique_ptr<QMenu> menu(m_form->Text(4, 1)->createStandardContextMenu());
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << a->text();
    QVERIFY2(texts.join(' ').contains(QStringLiteral("貼り付け")), qPrintable(texts.join(' ')));

    QCOMPARE(QLocale().monthName(1), QStringLiteral("1月"));
}

void Form1LayoutTests::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");
    QTest::newRow("Text1(1)") << "Text1(1)" << QStringLiteral("1番 前3走");
    QTest::newRow("Text2(1)") << "Text2(1)" << QStringLiteral("1番 前2走");
    QTest::newRow("Text3(1)") << "Text3(1)" << QStringLiteral("1番 前1走");
    QTest::newRow("Text4(1)") << "Text4(1)" << QStringLiteral("1番 複勝オッズ下限");
    QTest::newRow("Text5(16)") << "Text5(16)" << QStringLiteral("16番 複勝オッズ上限");
    QTest::newRow("Command1") << "Command1" << QStringLiteral("ミルカ！！！　　CLICK！！！");
    QTest::newRow("Option21") << "Option21" << QStringLiteral("浦和");
    QTest::newRow("Label8") << "Label8" << QStringLiteral("◎");
    QTest::newRow("Combo1") << "Combo1" << QStringLiteral("出走馬数");
}

void Form1LayoutTests::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(find(name));
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), accessibleName);
}

void Form1LayoutTests::resources()
{
    const QIcon icon = m_form->windowIcon();
    QVERIFY(!icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    QVERIFY(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)));
    QVERIFY(!m_form->Image1()->pixmap().isNull());
    QCOMPARE(m_form->Image1()->pixmap().size(), QSize(32, 32));
    const QPixmap picture = m_form->Picture1()->pixmap();
    QCOMPARE(picture.size(), QSize(308, 154));
    // Drawn at its own size: the box is smaller, so the picture is cut off, not scaled.
    QVERIFY(!m_form->Picture1()->hasScaledContents());
}

QTEST_MAIN(Form1LayoutTests)
#include "Form1LayoutTests.moc"
