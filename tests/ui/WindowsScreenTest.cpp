// The four windows as users on Windows see them: drawn by Qt's own windows platform, with the
// system's fonts and its screen scale (tests/tools/wine-test runs this under Wine at 100, 125
// and 150 %, LogPixels 96, 120 and 144, the expected one in MILKA_SCREEN_DPI). Every control the
// design places stands within one device pixel of its twips, every caption fits its box in the
// font the system actually gave, and the forecast's numbers and pairs show whole. The fonts in
// use are named in the output.
#include "Form1TestSupport.h"
#include "Form3.h"
#include "Twips.h"
#include "frmAbout.h"
#include "frmSplash.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QOperatingSystemVersion>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include <cstdio>
#include <map>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

class WindowsScreenTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void windowsTenOrLater();
    void windows_data();
    void windows();
    void forecastShowsWhole();
    void fontsInUse();

private:
    double m_dpi = 96;  // the system's dots per inch, as the test was told to expect it
    double m_ratio = 1; // device pixels per Qt pixel
    std::map<QString, QString> m_fonts; // requested family and size -> the family in use
};

namespace {

// A line for the person reading the output, in the desktop's code page: Qt Test's own log
// loses the Japanese font names on the way out of Wine, the error stream keeps them.
void report(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
    std::fflush(stderr);
}

// One device pixel of slack: a box in twips rarely falls on whole pixels.
constexpr double kSlack = 1.0;

QString described(const QFont &font)
{
    return QStringLiteral("%1 %2 pt").arg(font.family()).arg(font.pointSizeF());
}

// The text as the control draws it: an access key's "&" is not shown, and the description of
// the About box starts a new line where a run of full-width spaces ends.
QString shownText(const QWidget *widget, QString text)
{
    if (qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QGroupBox *>(widget))
        text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    if (widget->objectName() == QLatin1String("lblDescription"))
        text.replace(QRegularExpression(QStringLiteral("\\x{3000}+")), QStringLiteral("\n"));
    return text;
}

// Why the caption of a label, push or option button or frame does not fit the box it is drawn
// in; empty when it fits, or when the control shows no caption of these kinds. Measured with the
// font the control really has, at the screen's scale. Counts the captions measured.
QString whyCut(const QWidget *widget, int *measured = nullptr)
{
    const QFontMetricsF metrics(widget->font(), const_cast<QWidget *>(widget));
    QString text;
    QRectF box;
    int flags = Qt::TextSingleLine;
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        if (!label->pixmap().isNull())
            return {};
        text = label->text();
        box = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                             -label->margin());
        flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    } else if (const auto *button = qobject_cast<const QPushButton *>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        text = button->text();
        box = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    } else if (const auto *option = qobject_cast<const QRadioButton *>(widget)) {
        QStyleOptionButton styleOption;
        styleOption.initFrom(option);
        styleOption.text = option->text();
        text = option->text();
        box = option->style()->subElementRect(QStyle::SE_RadioButtonContents, &styleOption, option);
    } else if (const auto *frame = qobject_cast<const QGroupBox *>(widget)) {
        text = frame->title();
        box = frame->rect();
    }
    text = shownText(widget, text);
    if (text.trimmed().isEmpty())
        return {};
    if (measured)
        ++*measured;
    const QRectF needed = metrics.boundingRect(box, flags, text);
    if (needed.width() <= box.width() + 0.01 && needed.height() <= box.height() + 0.01)
        return {};
    return QStringLiteral("%1 \"%2\" needs %3 x %4 in a box of %5 x %6 (%7)")
        .arg(widget->objectName(), text)
        .arg(needed.width(), 0, 'f', 1)
        .arg(needed.height(), 0, 'f', 1)
        .arg(box.width(), 0, 'f', 1)
        .arg(box.height(), 0, 'f', 1)
        .arg(QFontInfo(widget->font()).family());
}

// A control the design puts beyond its frame's edge (Option30) is never seen.
bool canBeSeen(const QWidget *widget)
{
    const QWidget *parent = widget->parentWidget();
    return parent == nullptr || widget->isWindow() || parent->rect().contains(widget->geometry());
}

// A control's designed box in twips relative to the window's client area: its own box moved by
// those of the frames it lies in.
QRect designedInClientArea(const QWidget *widget)
{
    QRect box = widget->property(kDesignTwipsProperty).toRect();
    for (const QWidget *parent = widget->parentWidget();
         parent && !parent->isWindow() && parent->objectName() != "ClientArea";
         parent = parent->parentWidget())
        box.translate(parent->property(kDesignTwipsProperty).toRect().topLeft());
    return box;
}

// Whether the picture has a dark pixel in row y within one pixel of column x.
bool darkNear(const QImage &picture, double x, double y)
{
    const int row = qBound(0, int(y), picture.height() - 1);
    for (int column = qFloor(x - kSlack); column <= qCeil(x + kSlack); ++column) {
        if (column >= 0 && column < picture.width() && qGray(picture.pixel(column, row)) < 96)
            return true;
    }
    return false;
}

// Where the system has a window's client area, in device pixels on the screen.
QRectF clientAreaOnScreen(const QWidget *window, double ratio)
{
#ifdef _WIN32
    Q_UNUSED(ratio);
    const auto hwnd = reinterpret_cast<HWND>(window->winId());
    RECT client{};
    POINT corner{0, 0};
    if (!GetClientRect(hwnd, &client) || !ClientToScreen(hwnd, &corner))
        return {};
    return QRectF(corner.x, corner.y, client.right - client.left, client.bottom - client.top);
#else
    return QRectF(QPointF(window->geometry().topLeft()) * ratio,
                  QSizeF(window->geometry().size()) * ratio);
#endif
}

} // namespace

void WindowsScreenTest::initTestCase()
{
    // Started for a screen scale (as tests/tools/wine-test starts it), another platform is a
    // fault to report, not a reason to skip: a skipped suite would pass having checked nothing.
    bool given = false;
    m_dpi = qEnvironmentVariableIntValue("MILKA_SCREEN_DPI", &given);
    if (QGuiApplication::platformName() != QLatin1String("windows")) {
        if (given)
            QFAIL(qPrintable(QStringLiteral("started for %1 dpi on the %2 platform, not on Qt's "
                                            "windows platform: nothing would be checked")
                                 .arg(m_dpi)
                                 .arg(QGuiApplication::platformName())));
        QSKIP("needs Qt's windows platform (tests/tools/wine-test runs it under Wine)");
    }
    installJapaneseUi();
    QVERIFY2(given, "MILKA_SCREEN_DPI names the screen scale the system was set to");
    m_ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    qInfo("screen: %s, %.0f %% (device pixel ratio %.2f), %d x %d device pixels",
          qPrintable(QSysInfo::prettyProductName()), m_ratio * 100, m_ratio,
          qRound(QGuiApplication::primaryScreen()->geometry().width() * m_ratio),
          qRound(QGuiApplication::primaryScreen()->geometry().height() * m_ratio));
    QCOMPARE(m_ratio * 96, m_dpi);
}

void WindowsScreenTest::windowsTenOrLater()
{
    const QOperatingSystemVersion version = QOperatingSystemVersion::current();
    qInfo("the system says it is %s %d.%d.%d", qPrintable(version.name()), version.majorVersion(),
          version.minorVersion(), version.microVersion());
    QVERIFY(version >= QOperatingSystemVersion::Windows10);
}

void WindowsScreenTest::windows_data()
{
    QTest::addColumn<QString>("window");
    for (const char *name : {"Form1", "Form3", "frmSplash", "frmAbout"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void WindowsScreenTest::windows()
{
    QFETCH(QString, window);
    Module1 state;
    EmptySpat4Folder folder;
    std::unique_ptr<QWidget> shown;
    if (window == QLatin1String("Form1"))
        shown = std::make_unique<Form1>(state, folder);
    else if (window == QLatin1String("Form3"))
        shown = std::make_unique<Form3>(state);
    else if (window == QLatin1String("frmSplash"))
        shown = std::make_unique<frmSplash>();
    else
        shown = std::make_unique<frmAbout>();
    // The splash is shown as start-up shows it.
    if (auto *splash = qobject_cast<frmSplash *>(shown.get()))
        splash->showAndDraw();
    else
        shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));

    const double perTwip = m_dpi / 1440;
    QStringList misplaced, cut;
    int placed = 0, captions = 0;
    QList<QWidget *> widgets = shown->findChildren<QWidget *>();
    widgets << shown.get();
    for (QWidget *widget : widgets) {
        const QVariant design = widget->property(kDesignTwipsProperty);
        if (design.isValid()) {
            const QRectF twips = design.toRect();
            const QRectF wanted(twips.x() * perTwip, twips.y() * perTwip, twips.width() * perTwip,
                                twips.height() * perTwip);
            // Where it is: a window's client area (and the main window's, below its menu bar)
            // as the system has it on the screen; any other control relative to its parent.
            QRectF actual;
            if (widget->isWindow() || widget->objectName() == QLatin1String("ClientArea")) {
                const QRectF client = clientAreaOnScreen(shown.get(), m_ratio);
                const QPointF offset = QPointF(widget->mapTo(shown.get(), QPoint(0, 0))) * m_ratio;
                actual = QRectF(client.topLeft() + offset, QSizeF(widget->size()) * m_ratio);
            } else {
                actual = QRectF(QPointF(widget->pos()) * m_ratio, QSizeF(widget->size()) * m_ratio);
            }
            const auto keeps =
                static_cast<DesignKeeps>(widget->property(kDesignKeepsProperty).toInt());
            bool ok = true;
            const auto within = [&ok](double a, double b) { ok = ok && qAbs(a - b) <= kSlack; };
            switch (keeps) {
            case DesignKeeps::Box:
                within(actual.left(), wanted.left());
                within(actual.top(), wanted.top());
                within(actual.right(), wanted.right());
                within(actual.bottom(), wanted.bottom());
                break;
            case DesignKeeps::TopLeft:
                within(actual.left(), wanted.left());
                within(actual.top(), wanted.top());
                break;
            case DesignKeeps::TopRight:
                within(actual.right(), wanted.right());
                within(actual.top(), wanted.top());
                break;
            case DesignKeeps::SizeCentred: {
                within(actual.width(), wanted.width());
                within(actual.height(), wanted.height());
                // Centring has no twips to keep: Qt centres the window in its own pixels, so
                // the centre may be off by one of them (1.5 device pixels at 150 %).
                const QRectF client = clientAreaOnScreen(shown.get(), m_ratio);
                const QRectF screen(QPointF(0, 0),
                                    QSizeF(shown->screen()->geometry().size()) * m_ratio);
                ok = ok && qAbs(client.center().x() - screen.center().x()) <= m_ratio &&
                     qAbs(client.center().y() - screen.center().y()) <= m_ratio;
                break;
            }
            }
            ++placed;
            if (!ok)
                misplaced << QStringLiteral("%1 at %2,%3 %4x%5, designed %6,%7 %8x%9")
                                 .arg(widget->objectName())
                                 .arg(actual.x(), 0, 'f', 1)
                                 .arg(actual.y(), 0, 'f', 1)
                                 .arg(actual.width(), 0, 'f', 1)
                                 .arg(actual.height(), 0, 'f', 1)
                                 .arg(wanted.x(), 0, 'f', 1)
                                 .arg(wanted.y(), 0, 'f', 1)
                                 .arg(wanted.width(), 0, 'f', 1)
                                 .arg(wanted.height(), 0, 'f', 1);
        }
        if (!canBeSeen(widget) ||
            !(qobject_cast<QLabel *>(widget) || qobject_cast<QAbstractButton *>(widget) ||
              qobject_cast<QGroupBox *>(widget)))
            continue;
        m_fonts[described(widget->font())] = QFontInfo(widget->font()).family();
        const QString why = whyCut(widget, &captions);
        if (!why.isEmpty())
            cut << why;
    }
    qInfo("%s at %.0f %%: %d designed boxes, %d captions", qPrintable(window), m_ratio * 100,
          placed, captions);
    QVERIFY(placed > 0);
    QVERIFY2(misplaced.isEmpty(), qPrintable(misplaced.join(QStringLiteral("; "))));

    // In the pixels drawn: the border of each bordered label lies at its designed left and
    // right edges, within one device pixel.
    QWidget *client = shown->findChild<QWidget *>(QStringLiteral("ClientArea"));
    if (client == nullptr)
        client = shown.get();
    const QImage picture = client->grab().toImage();
    QStringList borders;
    int bordered = 0;
    for (const QLabel *label : client->findChildren<QLabel *>()) {
        if (label->frameShape() != QFrame::Box || !label->property(kDesignTwipsProperty).isValid())
            continue;
        ++bordered;
        const QRect twips = designedInClientArea(label);
        const double y = (twips.top() + twips.height() / 2.0) * perTwip;
        const double left = twips.left() * perTwip, right = (twips.right() + 1) * perTwip - 1;
        if (!darkNear(picture, left, y) || !darkNear(picture, right, y))
            borders << QStringLiteral("%1 (edges at %2 and %3)")
                           .arg(label->objectName())
                           .arg(left, 0, 'f', 1)
                           .arg(right, 0, 'f', 1);
    }
    if (bordered > 0)
        qInfo("%d bordered labels, their borders looked for in the %d x %d pixels drawn", bordered,
              picture.width(), picture.height());
    QVERIFY2(borders.isEmpty(), qPrintable(borders.join(QStringLiteral("; "))));
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
}

// A forecast whose marked horses carry two-digit numbers: the worked example's eight runners in
// rows 16 down to 9 of a race of sixteen. The five numbers and the five pairs show whole.
void WindowsScreenTest::forecastShowsWhole()
{
    Module1 state;
    EmptySpat4Folder folder;
    Form1 form(state, folder);
    form.initialiseInputs();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // clang-format off
    const char *const example[8][5] = {
        {"3", "0", "3", "1.5", "2.1"}, {"2", "1", "0", "1.1", "1.3"}, {"5", "1", "3", "2.0", "3.2"},
        {"0", "0", "0", "",    ""},    {"2", "2", "2", "1.1", "1.3"}, {"3", "3", "3", "4.0", "6.5"},
        {"0", "5", "0", "1.6", "2.2"}, {"1", "2", "0", "3.0", "4.8"},
    };
    // clang-format on
    form.Combo1()->setCurrentIndex(form.Combo1()->findText(QStringLiteral("16")));
    for (int r = 0; r < 8; ++r)
        for (int c = 1; c <= 5; ++c)
            QTest::keyClicks(form.Text(c, 16 - r), QString::fromUtf8(example[r][c - 1]));
    QTest::mouseClick(form.Command(1), Qt::LeftButton);

    QStringList shown, cut;
    for (int n : {11, 12, 13, 27, 28, 14, 15, 16, 25, 26}) {
        const QLabel *label = form.Label(n);
        shown << label->text();
        const QString why = whyCut(label);
        if (!why.isEmpty())
            cut << why;
        m_fonts[described(label->font())] = QFontInfo(label->font()).family();
    }
    report(QStringLiteral("results: ") + shown.join(QStringLiteral(" | ")));
    // Every result names horses of two digits, so the widest texts are the ones measured.
    for (const QString &text : shown)
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\d\\d"))), qPrintable(text));
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
}

// The fonts the windows asked for and the ones the system gave, each with Japanese in it.
void WindowsScreenTest::fontsInUse()
{
    QVERIFY(!m_fonts.empty());
    for (const auto &[requested, used] : m_fonts) {
        report(QStringLiteral("font: %1 -> %2").arg(requested, used));
        QVERIFY2(QFontDatabase::writingSystems(used).contains(QFontDatabase::Japanese),
                 qPrintable(used));
    }
}

QTEST_MAIN(WindowsScreenTest)
#include "WindowsScreenTest.moc"
