// The four windows as users on Windows see them: drawn by Qt's own windows platform, with the
// system's fonts and its screen scale (tests/tools/wine-test runs this under Wine at 100, 125
// and 150 %, LogPixels 96, 120 and 144, the expected one in MILKA_SCREEN_DPI, as Windows 10 and
// at 125 % as Windows 11 too, MILKA_SCREEN_WINDOWS). Every control the
// design tables place stands within one device pixel of its row's twips, every caption is drawn
// whole in its box in the font the system actually gave, and the forecast's numbers and pairs
// show whole. The fonts in use are named in the output.
#include "Form1TestSupport.h"
#include "Form3.h"
#include "Twips.h"
#include "frmAbout.h"
#include "frmSplash.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QPixmap>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QOperatingSystemVersion>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

class WindowsScreenTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void windowsVersion();
    void designedLook();
    void windows_data();
    void windows();
    void forecastShowsWhole();
    void fontsInUse();
    void cleanupTestCase();

private:
#ifdef _WIN32
    BOOL m_animated = FALSE; // the session's animation of controls, as the suite found it
#endif
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

// The caption of a label (none for a picture), a push or option button or a frame, as set.
QString captionOf(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->pixmap().isNull() ? label->text() : QString();
    if (qobject_cast<const QPushButton *>(widget) || qobject_cast<const QRadioButton *>(widget))
        return static_cast<const QAbstractButton *>(widget)->text();
    if (const auto *frame = qobject_cast<const QGroupBox *>(widget))
        return frame->title();
    return {};
}

void setCaptionOf(QWidget *widget, const QString &caption)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(caption);
    else if (auto *frame = qobject_cast<QGroupBox *>(widget))
        frame->setTitle(caption);
}

// Where the caption is drawn from in its box.
Qt::Alignment alignmentOf(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->alignment();
    if (qobject_cast<const QPushButton *>(widget))
        return Qt::AlignCenter;
    if (qobject_cast<const QRadioButton *>(widget))
        return Qt::AlignLeft | Qt::AlignVCenter;
    return static_cast<const QGroupBox *>(widget)->alignment() | Qt::AlignTop;
}

// The control as the screen draws it, without the controls inside it (a frame's combo box draws
// itself as the pointer or focus happen to be, and is judged by its own row).
QImage drawnAlone(QWidget *widget)
{
    const qreal ratio = widget->devicePixelRatioF();
    QPixmap pixmap(widget->size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    widget->render(&pixmap, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return pixmap.toImage();
}

// The pixels of the control where its caption puts ink: those that differ from the control drawn
// without its caption. (A frame without a title draws its top edge higher up; a title of one
// space keeps the edge where a title puts it.)
QImage inkOf(QWidget *widget)
{
    const QString caption = captionOf(widget);
    const QImage with = drawnAlone(widget);
    setCaptionOf(widget, qobject_cast<QGroupBox *>(widget) ? QStringLiteral(" ") : QString());
    const QImage without = drawnAlone(widget);
    setCaptionOf(widget, caption);
    QImage ink(with.size(), QImage::Format_Grayscale8);
    ink.fill(0);
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            if (with.pixel(x, y) != without.pixel(x, y))
                ink.scanLine(y)[x] = 255;
        }
    }
    return ink;
}

// Room added to a box to see what of its caption it cuts off, in pixels on each side it grows.
constexpr int kRoom = 4;

// Why the caption of a label, push or option button or frame is not shown whole; empty when it
// is, or when the control shows no caption of these kinds. Judged by the pixels drawn: a caption
// must put ink in the control's own box, and that box must show all the ink of the same caption
// with room around it, the box grown on the sides away from the caption's alignment so the
// caption stays where it is. A caption that wraps only grows downwards (a wider box would wrap it
// elsewhere); across, its ink must not reach the edge of the box. Counts the captions judged.
QString whyCut(QWidget *widget, int *measured = nullptr)
{
    const QString text = shownText(widget, captionOf(widget));
    // Nothing to show: a box the design leaves empty until a load or a forecast fills it.
    if (text.trimmed().isEmpty())
        return {};
    if (measured)
        ++*measured;
    const auto *label = qobject_cast<const QLabel *>(widget);
    const bool wraps = label && label->wordWrap();
    const Qt::Alignment alignment = alignmentOf(widget);
    // The room before and after the caption in one direction: on the side away from where it is
    // aligned, or half on each side of a centred one.
    const auto room = [alignment](Qt::Alignment end, Qt::Alignment centre) {
        return (alignment & end)      ? std::pair{2 * kRoom, 0}
               : (alignment & centre) ? std::pair{kRoom, kRoom}
                                      : std::pair{0, 2 * kRoom};
    };
    const auto [left, right] = wraps ? std::pair{0, 0} : room(Qt::AlignRight, Qt::AlignHCenter);
    const auto [top, bottom] = room(Qt::AlignBottom, Qt::AlignVCenter);

    const QImage real = inkOf(widget);
    const QRect box = widget->geometry();
    widget->setGeometry(box.adjusted(-left, -top, right, bottom));
    const QImage roomy = inkOf(widget);
    widget->setGeometry(box);

    const double ratio = widget->devicePixelRatioF();
    const QPoint offset(qRound(left * ratio), qRound(top * ratio));
    // The outermost two pixels of the bigger box are its border's, not the caption's: a frame's
    // corner falls on other device pixels in a box of another size (at 125 and 150 %).
    const int border = qCeil(2 * ratio);
    int inked = 0, lost = 0;
    for (int y = border; y < roomy.height() - border; ++y) {
        for (int x = border; x < roomy.width() - border; ++x) {
            if (roomy.constScanLine(y)[x] == 0)
                continue;
            ++inked;
            const QPoint there = QPoint(x, y) - offset;
            if (!real.rect().contains(there) || real.constScanLine(there.y())[there.x()] == 0)
                ++lost;
        }
    }
    bool shows = false;
    for (int y = 0; y < real.height() && !shows; ++y)
        shows = std::any_of(real.constScanLine(y), real.constScanLine(y) + real.width(),
                            [](uchar pixel) { return pixel != 0; });
    QString why;
    if (lost > 0) {
        why = QStringLiteral("loses %1 of its %2 pixels of ink").arg(lost).arg(inked);
    } else if (!shows) {
        why = QStringLiteral("puts no ink");
    } else if (wraps) {
        // The device columns within one pixel of the box's left and right edges.
        const int margin = label->margin();
        const QRect inner = label->contentsRect().adjusted(margin, margin, -margin, -margin);
        const double from = inner.left() * ratio, to = (inner.right() + 1) * ratio;
        const auto inkIn = [&real](int first, int last) {
            for (int x = qMax(first, 0); x <= qMin(last, real.width() - 1); ++x) {
                for (int y = 0; y < real.height(); ++y) {
                    if (real.constScanLine(y)[x] != 0)
                        return true;
                }
            }
            return false;
        };
        if ((!(alignment & Qt::AlignLeft) && inkIn(qFloor(from), qCeil(from))) ||
            (!(alignment & Qt::AlignRight) && inkIn(qFloor(to) - 1, qCeil(to) - 1)))
            why = QStringLiteral("runs to the edge");
    }
    if (why.isEmpty())
        return {};
    return QStringLiteral("%1 \"%2\" %3 in a box of %4 x %5 (%6)")
        .arg(widget->objectName(), text, why)
        .arg(box.width())
        .arg(box.height())
        .arg(QFontInfo(widget->font()).family());
}

// A control the design puts beyond its frame's edge (Option30) is never seen.
bool canBeSeen(const QWidget *widget)
{
    const QWidget *parent = widget->parentWidget();
    return parent == nullptr || widget->isWindow() || parent->rect().contains(widget->geometry());
}

// The window's design, row by row.
QList<DesignedBox> designedBoxesOf(const QString &window)
{
    if (window == QLatin1String("Form1"))
        return Form1::designedBoxes();
    if (window == QLatin1String("Form3"))
        return Form3::designedBoxes();
    if (window == QLatin1String("frmSplash"))
        return frmSplash::designedBoxes();
    return frmAbout::designedBoxes();
}

// Named controls the design draws but does not place in a box of twips: the lines, from end to
// end, and the status bar's panels, which the status bar lays out.
bool drawnNotPlaced(const QString &name)
{
    static const QRegularExpression drawn(
        QStringLiteral("^(Line\\d+(\\(\\d+\\))?|(StatusBar1|ClientArea)\\..*)$"));
    return drawn.match(name).hasMatch();
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
    // The style animates a control's change of state (a combo box under the moving frame that
    // holds it) where the system animates controls: a grab in mid-change differs from the next
    // for no fault of the layout. Off for this session only, as Windows' "Animate controls and
    // elements inside windows" turns it off; not written to the user's profile, and put back.
#ifdef _WIN32
    SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &m_animated, 0);
    QVERIFY(SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, nullptr, 0));
#endif
    m_ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    qInfo("screen: %s, %.0f %% (device pixel ratio %.2f), %d x %d device pixels",
          qPrintable(QSysInfo::prettyProductName()), m_ratio * 100, m_ratio,
          qRound(QGuiApplication::primaryScreen()->geometry().width() * m_ratio),
          qRound(QGuiApplication::primaryScreen()->geometry().height() * m_ratio));
    QCOMPARE(m_ratio * 96, m_dpi);
}

void WindowsScreenTest::windowsVersion()
{
    const QOperatingSystemVersion version = QOperatingSystemVersion::current();
    qInfo("the system says it is %s %d.%d.%d", qPrintable(version.name()), version.majorVersion(),
          version.minorVersion(), version.microVersion());
    QVERIFY(version >= QOperatingSystemVersion::Windows10);
    // Each prefix says which Windows it is, as MILKA_SCREEN_WINDOWS expects: on 11, Qt would
    // pick its windows11 style by itself.
    const bool eleven = qEnvironmentVariable("MILKA_SCREEN_WINDOWS") == QLatin1String("11");
    QCOMPARE(version >= QOperatingSystemVersion::Windows11, eleven);
}

void WindowsScreenTest::designedLook()
{
    // The classic style and FreeType's text on every Windows version (useDesignedStyle); a style
    // plugin missing from the folder leaves Qt's plain "windows" style, which this names.
    QCOMPARE(QApplication::style()->name(), QStringLiteral("windowsvista"));
    const QStringList arguments = QLibraryInfo::platformPluginArguments(QStringLiteral("Windows"));
    QVERIFY2(arguments.contains(QStringLiteral("fontengine=freetype")),
             qPrintable(arguments.join(QLatin1Char('|'))));
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

    // The design's rows by control name; each names one control on the screen, in the frame the
    // row gives (else in the client area), and every control the window names has its row.
    std::map<QString, DesignedBox> rows;
    for (const DesignedBox &row : designedBoxesOf(window))
        QVERIFY2(rows.emplace(row.name, row).second, qPrintable(row.name + " has two rows"));
    QWidget *client = shown->findChild<QWidget *>(QStringLiteral("ClientArea"));
    if (client == nullptr)
        client = shown.get();
    QStringList misplaced;
    for (const QWidget *widget : shown->findChildren<QWidget *>()) {
        const QString name = widget->objectName();
        if (!widget->isWindow() && !name.isEmpty() && !name.startsWith(QLatin1String("qt_")) &&
            !drawnNotPlaced(name) && rows.count(name) == 0)
            misplaced << name + QStringLiteral(" has no row in the design");
    }

    const double perTwip = m_dpi / 1440;
    int placed = 0;
    for (const auto &[name, row] : rows) {
        const QList<QWidget *> found = name == shown->objectName()
                                           ? QList<QWidget *>{shown.get()}
                                           : shown->findChildren<QWidget *>(name);
        if (found.size() != 1) {
            misplaced << QStringLiteral("%1: %2 controls of that name").arg(name).arg(found.size());
            continue;
        }
        QWidget *widget = found.front();
        const QRectF twips = row.twips;
        const QRectF wanted(twips.x() * perTwip, twips.y() * perTwip, twips.width() * perTwip,
                            twips.height() * perTwip);
        // Where it is: a window's client area (and the main window's, below its menu bar) as
        // the system has it on the screen; any other control relative to its parent, which
        // must be the frame the design puts it in.
        QRectF actual;
        if (widget->isWindow() || name == QLatin1String("ClientArea")) {
            const QRectF area = clientAreaOnScreen(shown.get(), m_ratio);
            const QPointF offset = QPointF(widget->mapTo(shown.get(), QPoint(0, 0))) * m_ratio;
            actual = QRectF(area.topLeft() + offset, QSizeF(widget->size()) * m_ratio);
        } else {
            actual = QRectF(QPointF(widget->pos()) * m_ratio, QSizeF(widget->size()) * m_ratio);
            const QString in = widget->parentWidget()->objectName();
            const QString designedIn = row.frame.isEmpty() ? client->objectName() : row.frame;
            if (in != designedIn)
                misplaced
                    << QStringLiteral("%1 lies in %2, designed in %3").arg(name, in, designedIn);
        }
        bool ok = true;
        const auto within = [&ok](double a, double b) { ok = ok && qAbs(a - b) <= kSlack; };
        switch (row.keeps) {
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
            // Centring has no twips to keep: Qt centres the window in its own pixels, so the
            // centre may be off by one of them (1.5 device pixels at 150 %).
            const QRectF area = clientAreaOnScreen(shown.get(), m_ratio);
            const QRectF screen(QPointF(0, 0),
                                QSizeF(shown->screen()->geometry().size()) * m_ratio);
            ok = ok && qAbs(area.center().x() - screen.center().x()) <= m_ratio &&
                 qAbs(area.center().y() - screen.center().y()) <= m_ratio;
            break;
        }
        }
        ++placed;
        if (!ok)
            misplaced << QStringLiteral("%1 at %2,%3 %4x%5, designed %6,%7 %8x%9")
                             .arg(name)
                             .arg(actual.x(), 0, 'f', 1)
                             .arg(actual.y(), 0, 'f', 1)
                             .arg(actual.width(), 0, 'f', 1)
                             .arg(actual.height(), 0, 'f', 1)
                             .arg(wanted.x(), 0, 'f', 1)
                             .arg(wanted.y(), 0, 'f', 1)
                             .arg(wanted.width(), 0, 'f', 1)
                             .arg(wanted.height(), 0, 'f', 1);
    }

    QStringList cut;
    int captions = 0;
    for (QWidget *widget : shown->findChildren<QWidget *>()) {
        if (!widget->isVisible() || !canBeSeen(widget) ||
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
    const QImage picture = client->grab().toImage();
    QStringList borders;
    int bordered = 0;
    for (const QLabel *label : client->findChildren<QLabel *>()) {
        const auto row = rows.find(label->objectName());
        if (label->frameShape() != QFrame::Box || row == rows.end())
            continue;
        ++bordered;
        // The designed box in the client area: moved by those of the frames it lies in.
        QRect twips = row->second.twips;
        for (auto frame = rows.find(row->second.frame); frame != rows.end();
             frame = rows.find(frame->second.frame))
            twips.translate(frame->second.twips.topLeft());
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
        QLabel *label = form.Label(n);
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

void WindowsScreenTest::cleanupTestCase()
{
#ifdef _WIN32
    SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0,
                          reinterpret_cast<void *>(static_cast<INT_PTR>(m_animated)), 0);
#endif
}

QTEST_MAIN(WindowsScreenTest)
#include "WindowsScreenTest.moc"
