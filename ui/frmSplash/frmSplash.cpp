#include "frmSplash.h"

#include "JapaneseUi.h"
#include "PlainLabel.h"
#include "ResourceNames.h"
#include "ScreenFit.h"
#include "Twips.h"
#include "Version.h"
#include "VersionCaption.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QThread>
#include <QWindow>

#include <array>
#include <thread>

namespace {

enum class Kind { Image, Label };

struct LabelFont {
    const QString *family;
    double points;
    bool italic;
    bool underline;
};

struct ControlRow {
    const char *name;
    Kind kind;
    int left, top, width, height;
    const char *text;
    const LabelFont *font;
    bool green;
    bool rightAligned;
    bool autoSize;
};

// Every label of the splash is bold.
constexpr LabelFont kSeriesFont{&kPGothic, 18.0, true, true};
constexpr LabelFont kProductFont{&kGothic, 14.25, false, false};
constexpr LabelFont kVersionFont{&kPGothic, 12.0, false, false};
constexpr LabelFont kMakerFont{&kPGothic, 9.0, true, true};

// The window, centred on the screen, and its one frame.
constexpr QRect kFormTwips{0, 0, 7380, 4245};
constexpr QRect kFrame1Twips{150, 60, 7080, 4050};

// The children of Frame1, positions relative to the frame.
// clang-format off
constexpr std::array kControls{
    //          name                 kind         Left  Top   Width Height text                                    font           green  right  autoSize
    ControlRow{"imgLogo",           Kind::Image,  360, 1320, 1575, 1665, "",                                     nullptr,       false, false, false},
    ControlRow{"lblCompanyProduct", Kind::Label,  360,  705, 6480,  360, "トモロ　競馬予想ソフトシリーズ",       &kSeriesFont,  true,  false, true },
    ControlRow{"lblProductName",    Kind::Label, 2040, 1560, 4755,  795, "トモロのミルカ！！！　　　　(地方版)", &kProductFont, false, false, false},
    ControlRow{"lblVersion",        Kind::Label, 5970, 2700,  885,  285, "ﾊﾞｰｼﾞｮﾝ",                              &kVersionFont, false, true,  true },
    ControlRow{"lblCopyright",      Kind::Label, 4320, 3060, 2415,  255, "Copyright (C) トモロ",                 &kMakerFont,   false, false, false},
    ControlRow{"lblCompany",        Kind::Label, 4320, 3315, 2655,  255, "制作：トモロ",                         &kMakerFont,   false, false, false},
};
// clang-format on

constexpr auto kHold = std::chrono::seconds(2);

QLabel *makeControl(const ControlRow &row, QWidget *parent)
{
    auto *label = new PlainLabel(QString::fromUtf8(row.text), parent);
    label->setObjectName(QString::fromLatin1(row.name));
    placeInTwips(label, row.left, row.top, row.width, row.height);
    // Clicks on the labels and the picture are not clicks on the frame.
    label->setAttribute(Qt::WA_NoMousePropagation);
    if (row.kind == Kind::Image) {
        label->setScaledContents(true);
        const QIcon icon(kProgramIconResource);
        if (!icon.isNull())
            label->setPixmap(icon.pixmap(label->size()));
        return label;
    }
    QFont font(*row.font->family);
    font.setPointSizeF(row.font->points);
    font.setBold(true);
    font.setItalic(row.font->italic);
    font.setUnderline(row.font->underline);
    label->setFont(font);
    label->setAlignment((row.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    label->setWordWrap(!row.autoSize);
    if (row.green) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 128, 0));
        label->setPalette(palette);
    }
    return label;
}

// An autosizing label takes the size of its text. A left-aligned one keeps its top-left
// corner; a right-aligned one keeps its top-right corner, so the version grows to the left
// and stays inside the frame whatever font stands in for the layout's.
void autoSize(QLabel *label)
{
    const QRect before = label->geometry();
    label->resize(label->sizeHint());
    if (label->alignment() & Qt::AlignRight)
        label->move(before.right() + 1 - label->width(), before.top());
}

} // namespace

QList<DesignedBox> frmSplash::designedBoxes()
{
    QList<DesignedBox> boxes{{QStringLiteral("frmSplash"), kFormTwips, DesignKeeps::SizeCentred},
                             {QStringLiteral("Frame1"), kFrame1Twips}};
    for (const ControlRow &row : kControls)
        boxes.append({QLatin1String(row.name),
                      {row.left, row.top, row.width, row.height},
                      !row.autoSize      ? DesignKeeps::Box
                      : row.rightAligned ? DesignKeeps::TopRight
                                         : DesignKeeps::TopLeft,
                      QStringLiteral("Frame1")});
    return boxes;
}

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent,
              // A tool window stays out of the taskbar and keeps its caption; without the
              // system-menu and close hints it has no control menu and no close box.
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_clock(steadyClock)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("トモロのミルカ！！！(地方版)"));
    setFixedSize(twipsSize(kFormTwips.width(), kFormTwips.height()));
    setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->geometry()));
    keepOnScreen(this);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    placeInTwips(Frame1, kFrame1Twips);
    for (const ControlRow &row : kControls) {
        QLabel *label = makeControl(row, Frame1);
        if (row.autoSize)
            autoSize(label);
    }
    lblVersion = Frame1->findChild<QLabel *>(QStringLiteral("lblVersion"));

    // Key preview: a key reaches the window's handler whichever control has the focus.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    Form_Load();
}

std::chrono::nanoseconds frmSplash::steadyClock()
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

void frmSplash::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

void frmSplash::showAndHold(const Clock &clock)
{
    frmSplash splash;
    splash.setClock(clock);
    splash.showAndDraw();
    splash.close();
}

void frmSplash::showAndDraw()
{
    show();
    // Let the window system map and expose the window, handling no input meanwhile, so that it
    // is completely drawn before the caller blocks the thread. A window system that never
    // exposes it is not waited for beyond a second.
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(1);
    }
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmSplash::Form_Load()
{
    lblVersion->setText(
        versionCaption(milka::kVersionMajor, milka::kVersionMinor, milka::kVersionRevision));
    autoSize(lblVersion);
}

void frmSplash::Form_KeyPress()
{
    close();
}

void frmSplash::Frame1_Click()
{
    close();
}

void frmSplash::Form_Unload()
{
    // Only differences of a monotonic clock count, so the hold neither ends early nor hangs
    // when the time of day jumps or passes midnight. It blocks: no event is handled meanwhile.
    const std::chrono::nanoseconds start = m_clock();
    while (m_clock() - start <= kHold)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void frmSplash::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        // Character keys only, as Enter, Esc and the letters are; Shift or Ctrl alone is not.
        if (!static_cast<QKeyEvent *>(event)->text().isEmpty()) {
            Form_KeyPress();
            return true;
        }
    } else if (watched == Frame1 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            Frame1->rect().contains(mouse->position().toPoint())) {
            Frame1_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
