// The main window's construction: every control from its design table, in twips.
#include "Form1.h"
#include "Form1Design.h"

#include "HalfWidthValidator.h"
#include "JapaneseUi.h"
#include "PlainLabel.h"
#include "ResourceNames.h"
#include "ScreenFit.h"
#include "Twips.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <qdrawutil.h>

#include <string>
#include <string_view>

namespace {

// The fonts the design names; all are the proportional Japanese font.
enum class Face { Default, HorseNumber, Command1, FrameTitle, Mark, Number, Pair };

QFont fontOf(Face face, const QFont &windowFont)
{
    auto font = [](double points, bool bold, bool italic) {
        QFont f(kPGothic);
        f.setPointSizeF(points);
        f.setBold(bold);
        f.setItalic(italic);
        return f;
    };
    switch (face) {
    case Face::HorseNumber:
        return font(9, true, true);
    case Face::Command1:
        return font(14.25, true, true);
    case Face::FrameTitle:
        return font(9.75, true, true);
    case Face::Mark:
        return font(14.25, true, false);
    case Face::Number:
        return font(9.75, true, false);
    case Face::Pair:
        return font(12, true, false);
    case Face::Default:
        break;
    }
    return windowFont;
}

enum class Colour { Default, Red, Blue };
enum class Start { Normal, Selected, Disabled };

const QString kPreviousRaceTip = QStringLiteral("前走データを入力して下さい");
const QString kOddsTip =
    QStringLiteral("複勝オッズデータを入力して下さい（但し、読込済みの場合は入力不要です）");

// clang-format off
struct FrameRow { int number; const char *caption; int left, top, width, height; const char *tooltip; Face face; };
const FrameRow kFrames[] = {
    {4, "開催地",        0,    120,  1215, 855,  "読込するデータの開催地を選んで下さい", Face::Default},
    {3, "レース",        1190, 120,  2415, 855,  "読込するデータのレースを選んで下さい", Face::Default},
    {8, "前3走データ",   3570, 120,  1215, 855,  "前走データの種別を選んで下さい",       Face::Default},
    {5, "出走馬数",      4760, 120,  1215, 855,  nullptr,                                Face::Default},
    {7, "順位入力指定",  5940, 120,  2055, 855,  "前走データの最大数を選んで下さい",     Face::Default},
    {9, "解析中！！！",  4560, 3360, 3855, 615,  nullptr,                                Face::Default},
    {1, "予想結果！！！", 4560, 4200, 1815, 2895, nullptr,                               Face::FrameTitle},
    {2, "5点予想！！！", 6600, 4200, 1815, 2895, nullptr,                                Face::FrameTitle},
};

struct OptionRow { int number; const char *caption; int frame; int left, top, width, height; Start start; };
const OptionRow kOptions[] = {
    // the venue buttons: each caption is its venue's name (form1::venueOfButton)
    {21, nullptr, 4, 120,  240, 495, 255, Start::Disabled},
    {22, nullptr, 4, 600,  240, 495, 255, Start::Disabled},
    {23, nullptr, 4, 120,  480, 495, 255, Start::Disabled},
    {24, nullptr, 4, 600,  480, 495, 255, Start::Disabled},
    {30, "小倉",  4, 2160, 480, 495, 255, Start::Disabled}, // beyond the frame's edge: never seen
    {1,  "1",     3, 120,  240, 375, 255, Start::Disabled},
    {2,  "2",     3, 480,  240, 375, 255, Start::Disabled},
    {3,  "3",     3, 840,  240, 375, 255, Start::Disabled},
    {4,  "4",     3, 1200, 240, 375, 255, Start::Disabled},
    {5,  "5",     3, 1560, 240, 375, 255, Start::Disabled},
    {6,  "6",     3, 1920, 240, 375, 255, Start::Disabled},
    {7,  "7",     3, 120,  495, 375, 255, Start::Disabled},
    {8,  "8",     3, 480,  495, 375, 255, Start::Disabled},
    {9,  "9",     3, 840,  495, 375, 255, Start::Disabled},
    {10, "10",    3, 1200, 495, 375, 255, Start::Disabled},
    {11, "11",    3, 1560, 495, 375, 255, Start::Disabled},
    {12, "12",    3, 1920, 495, 375, 255, Start::Disabled},
    {16, "人気",  8, 280,  240, 615, 255, Start::Selected},
    {17, "着順",  8, 280,  480, 615, 255, Start::Normal},
    {13, "前3走", 7, 240,  240, 735, 255, Start::Selected},
    {14, "前2走", 7, 960,  240, 735, 255, Start::Normal},
    {15, "前1走", 7, 240,  480, 735, 255, Start::Normal},
};

struct LabelRow {
    int number; const char *caption; int frame; int left, top, width, height;
    Qt::Alignment align; bool autoSize; bool bordered; Colour colour; Face face;
};
constexpr Qt::Alignment L = Qt::AlignLeft | Qt::AlignTop;
constexpr Qt::Alignment C = Qt::AlignHCenter | Qt::AlignTop;
constexpr Qt::Alignment R = Qt::AlignRight | Qt::AlignTop;
const LabelRow kLabels[] = {
    // race information row, filled by the odds loader
    {22, "",                   0, 120,  1080, 1095, 255, L, false, true,  Colour::Red,     Face::Default},
    {18, "",                   0, 1200, 1080, 1095, 255, L, false, true,  Colour::Default, Face::Default},
    {17, "",                   0, 2280, 1080, 6135, 255, L, false, true,  Colour::Default, Face::Default},
    // headings over the entry grid
    {7,  "前3走までの人気順位", 0, 720,  1560, 1680, 180, C, true,  false, Colour::Red,     Face::Default},
    {6,  "複勝オッズ",          0, 3000, 1560, 840,  180, R, true,  false, Colour::Blue,    Face::Default},
    {3,  "馬番",                0, 180,  1800, 360,  180, C, true,  false, Colour::Default, Face::Default},
    {19, "前3走",               0, 750,  1920, 450,  180, C, true,  false, Colour::Default, Face::Default},
    {20, "前2走",               0, 1320, 1920, 450,  180, C, true,  false, Colour::Default, Face::Default},
    {21, "前1走",               0, 1920, 1920, 450,  180, C, true,  false, Colour::Default, Face::Default},
    {1,  "",                    0, 2640, 1800, 1575, 375, C, false, false, Colour::Default, Face::Default},
    // Frame1: mark labels and number labels, one row per mark slot
    {8,  "◎", 1, 240, 360,  345, 285, C, true,  false, Colour::Default, Face::Mark},
    {11, "",   1, 840, 405,  615, 255, R, false, false, Colour::Default, Face::Number},
    {9,  "○", 1, 240, 840,  345, 285, C, true,  false, Colour::Default, Face::Mark},
    {12, "",   1, 840, 885,  615, 255, R, false, false, Colour::Default, Face::Number},
    {10, "▲", 1, 240, 1320, 345, 285, C, true,  false, Colour::Default, Face::Mark},
    {13, "",   1, 840, 1365, 615, 255, R, false, false, Colour::Default, Face::Number},
    {23, "△", 1, 240, 1800, 345, 285, C, true,  false, Colour::Default, Face::Mark},
    {27, "",   1, 840, 1850, 615, 255, R, false, false, Colour::Default, Face::Number},
    {24, "△", 1, 240, 2280, 345, 285, C, true,  false, Colour::Default, Face::Mark},
    {28, "",   1, 840, 2350, 615, 255, R, false, false, Colour::Default, Face::Number},
    // Frame2: the five wide combinations
    {14, "", 2, 360, 360,  1095, 375, C, false, true, Colour::Default, Face::Pair},
    {15, "", 2, 360, 840,  1095, 375, C, false, true, Colour::Default, Face::Pair},
    {16, "", 2, 360, 1320, 1095, 375, C, false, true, Colour::Default, Face::Pair},
    {25, "", 2, 360, 1800, 1095, 375, C, false, true, Colour::Default, Face::Pair},
    {26, "", 2, 360, 2280, 1095, 375, C, false, true, Colour::Default, Face::Pair},
};

// One row of the entry grid, row r at Top 2400 + 360 * (r - 1).
constexpr int kGridTop = 2400, kGridPitch = 360;
struct GridColumn { int column; int left, width, height; int maxLength; bool enabled; const QString &tooltip; const char *heading; };
const GridColumn kGridColumns[] = {
    {1, 720,  495, 270, 2, false, kPreviousRaceTip, "前3走"},
    {2, 1320, 495, 270, 2, false, kPreviousRaceTip, "前2走"},
    {3, 1920, 495, 270, 2, false, kPreviousRaceTip, "前1走"},
    {4, 2760, 495, 270, 5, true,  kOddsTip,         "複勝オッズ下限"},
    {5, 3600, 495, 270, 5, true,  kOddsTip,         "複勝オッズ上限"},
};
struct GridLabel { int left, width, height; };
constexpr GridLabel kHorseNumber{240, 255, 255};
constexpr GridLabel kSeparator{3360, 195, 180};

struct CommandRow { int number; const char *caption; int left, top, width, height; Face face; const char *tooltip; };
const CommandRow kCommands[] = {
    {1, "ミルカ！！！　　CLICK！！！", 4560, 1680, 3855, 1575, Face::Command1, "予想開始！！！"},
    {2, "人気順位データクリア",        480,  8160, 1815, 615,  Face::Default,  nullptr},
    {3, "オッズデータクリア",          2520, 8160, 1815, 615,  Face::Default,  nullptr},
};

// The controls that are one of a kind, each in its frame (0: the client area).
struct ControlRow { const char *name; int frame; int left, top, width, height; };
const ControlRow kControls[] = {
    {"Combo1",       5, 240,  360,  735,  300},
    {"ProgressBar1", 9, 120,  240,  3615, 255},
    {"Image1",       0, 8040, 240,  480,  480},
    {"Picture1",     0, 4560, 7320, 3855, 1455},
    {"StatusBar1",   0, 0,    8880, 8625, 375},
};

struct LineRow { const char *name; int x1, y1, x2, y2; int width; bool shadow; };
const LineRow kLines[] = {
    {"Line1", 0,    0,    8520, 0,    3, true},
    {"Line2", 0,    1440, 8520, 1440, 1, true},
    {"Line4", 4320, 1440, 4320, 8040, 1, false},
    {"Line5", 0,    2280, 4320, 2280, 1, false},
    {"Line6", 600,  1440, 600,  8040, 1, false},
    {"Line7", 2520, 1440, 2520, 8040, 1, false},
};

// clang-format on

// The client area, below the menu bar, on the screen.
constexpr QRect kClientAreaTwips{3480, 1575, 8625, 9255};
constexpr QRect kClientArea{0, 0, twips(kClientAreaTwips.width()),
                            twips(kClientAreaTwips.height())};
constexpr QPoint kWindowPosition{twips(kClientAreaTwips.left()), twips(kClientAreaTwips.top())};
constexpr int kTextPanelWidth = 5430, kPanelMinimumWidth = 1440;
const QString &kIconPath = kProgramIconResource;
const QString &kPicturePath = kTitlePictureResource;

// A bordered label whose text has a colour of its own. The style draws a plain box in the
// label's foreground role, the text's colour; the box is drawn over in the ordinary text colour,
// like the border of every other bordered label.
class ColouredTextBoxLabel : public PlainLabel {
public:
    using PlainLabel::PlainLabel;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QLabel::paintEvent(event);
        QPainter painter(this);
        qDrawPlainRect(&painter, frameRect(), palette().color(QPalette::WindowText), lineWidth());
    }
};

QString elementName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QRect boxOf(const ControlRow &row)
{
    return {row.left, row.top, row.width, row.height};
}

// A control of kControls, named and at its box.
template <typename Control> Control *placed(Control *widget, const ControlRow &row)
{
    widget->setObjectName(QLatin1String(row.name));
    placeInTwips(widget, boxOf(row));
    return widget;
}

const ControlRow &control(std::string_view name)
{
    for (const ControlRow &row : kControls) {
        if (row.name == name)
            return row;
    }
    Q_UNREACHABLE();
}

// The entry grid's row r (1..kRows): its top in twips and its controls' names.
int gridTop(int r)
{
    return kGridTop + kGridPitch * (r - 1);
}
QString horseNumberName(int r)
{
    return elementName("Label2", r - 1);
}
QString textName(int column, int r)
{
    return elementName(("Text" + std::to_string(column)).c_str(), r);
}
// Row 2's "～" is the single label Label5; the other rows use Label4(0), Label4(1..14).
QString separatorName(int r)
{
    return r == 2 ? QStringLiteral("Label5") : elementName("Label4", r == 1 ? 0 : r - 2);
}

} // namespace

QString form1::columnHeading(int column)
{
    for (const GridColumn &c : kGridColumns) {
        if (c.column == column)
            return QString::fromUtf8(c.heading);
    }
    return {};
}

int form1::typingLength(int column)
{
    for (const GridColumn &c : kGridColumns) {
        if (c.column == column)
            return c.maxLength;
    }
    return 0;
}

QList<DesignedBox> Form1::designedBoxes()
{
    const auto frame = [](int number) {
        return number == 0 ? QString() : QStringLiteral("Frame%1").arg(number);
    };
    QList<DesignedBox> boxes{{QStringLiteral("ClientArea"), kClientAreaTwips}};
    for (const FrameRow &row : kFrames)
        boxes.append({frame(row.number), {row.left, row.top, row.width, row.height}});
    for (const OptionRow &row : kOptions)
        boxes.append({QStringLiteral("Option%1").arg(row.number),
                      {row.left, row.top, row.width, row.height},
                      DesignKeeps::Box,
                      frame(row.frame)});
    for (const LabelRow &row : kLabels)
        boxes.append({QStringLiteral("Label%1").arg(row.number),
                      {row.left, row.top, row.width, row.height},
                      row.autoSize ? DesignKeeps::TopLeft : DesignKeeps::Box,
                      frame(row.frame)});
    for (int r = 1; r <= kRows; ++r) {
        boxes.append({horseNumberName(r),
                      {kHorseNumber.left, gridTop(r), kHorseNumber.width, kHorseNumber.height}});
        for (const GridColumn &column : kGridColumns)
            boxes.append({textName(column.column, r),
                          {column.left, gridTop(r), column.width, column.height}});
        boxes.append({separatorName(r),
                      {kSeparator.left, gridTop(r), kSeparator.width, kSeparator.height},
                      DesignKeeps::TopLeft});
    }
    for (const CommandRow &row : kCommands)
        boxes.append({QStringLiteral("Command%1").arg(row.number),
                      {row.left, row.top, row.width, row.height}});
    for (const ControlRow &row : kControls)
        boxes.append({QLatin1String(row.name), boxOf(row), DesignKeeps::Box, frame(row.frame)});
    return boxes;
}

Form1::Form1(Module1 &state, const spat4::Spat4Folder &folder, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_folder(folder),
      m_programEnd([] { QCoreApplication::exit(0); })
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("トモロのミルカ！！！（地方版）"));
    setWindowIcon(QIcon(kIconPath));
    setFont(QFont(kPGothic, 9));

    // A plain area of fixed-position controls: resizing the window moves none of them. It
    // scrolls only where the screen is too small for the whole window (keepOnScreen).
    auto *client = new QWidget;
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setMinimumSize(kClientArea.size());
    m_clientScroll = new QScrollArea(this);
    m_clientScroll->setObjectName(QStringLiteral("ClientArea.Scroll"));
    m_clientScroll->setFrameShape(QFrame::NoFrame);
    // The area itself never takes the caret: a click on a label or on empty space leaves it in
    // the box where the user is typing, and Tab stops only at the designed controls. Tab still
    // scrolls the control it reaches into view (QScrollArea::focusNextPrevChild).
    m_clientScroll->setFocusPolicy(Qt::NoFocus);
    m_clientScroll->setWidgetResizable(true);
    m_clientScroll->setWidget(client);
    setCentralWidget(m_clientScroll);
    m_client = client;

    buildMenus();
    buildFrames(client);
    buildOptions();
    buildLabels(client);
    buildGrid(client);
    buildRightColumn(client);
    buildLines(client);
    buildStatusBar(client);
    setTabOrderAsDesigned();
    connectHandlers();
    keepStatusBarCurrent();

    // The session ending (log-off, shutdown) may close the window; the user's close box may not.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { m_sessionEnding = true; });

    placeClientArea(menuBar()->heightForWidth(kClientArea.width()));
    keepOnScreen(this, [this] { fitToScreen(); });
}

// The design places the client area, below the menu bar, not the outer frame: the geometry of a
// top-level window excludes the frame, and the menu bar sits above the client area.
void Form1::placeClientArea(int menuHeight)
{
    setGeometry(QRect(kWindowPosition - QPoint(0, menuHeight),
                      QSize(kClientArea.width(), kClientArea.height() + menuHeight)));
}

void Form1::fitToScreen()
{
    fitOnScreen(this);
    // Cut short, the client area scrolls up and down; where the screen has room, the window
    // widens by the scroll bar, so the whole width stays in view without a second bar.
    const int designedHeight = kClientArea.height() + menuBar()->heightForWidth(kClientArea.width());
    const int widened = kClientArea.width() + m_clientScroll->verticalScrollBar()->sizeHint().width();
    if (height() < designedHeight && width() < widened) {
        resize(widened, height());
        fitOnScreen(this);
    }
}

void Form1::showEvent(QShowEvent *event)
{
    // Laid out for the screen it shows on, the menu bar may be a pixel taller than it said at
    // construction (Windows at 125 and 150 %): placed again, before the window is first mapped,
    // so the client area keeps its designed place and size.
    if (!m_placed) {
        m_placed = true;
        const int menuHeight = menuBar()->heightForWidth(kClientArea.width());
        if (height() != kClientArea.height() + menuHeight)
            placeClientArea(menuHeight);
        fitToScreen();
    }
    QMainWindow::showEvent(event);
}

Form1::~Form1() = default;

void Form1::buildMenus()
{
    QMenuBar *bar = menuBar();
    m_fl = bar->addMenu(QStringLiteral("ファイル"));
    m_fl->setObjectName(QStringLiteral("FL"));
    m_fl->menuAction()->setObjectName(QStringLiteral("FL"));
    m_fin = m_fl->addAction(QStringLiteral("終了"));
    m_fin->setObjectName(QStringLiteral("FIN"));
    m_loadho = bar->addAction(QStringLiteral("オッズ情報読込"));
    m_loadho->setObjectName(QStringLiteral("LOADHO"));
    m_hlp = bar->addMenu(QStringLiteral("ヘルプ"));
    m_hlp->setObjectName(QStringLiteral("HLP"));
    m_hlp->menuAction()->setObjectName(QStringLiteral("HLP"));
    m_ver = m_hlp->addAction(QStringLiteral("バージョン情報"));
    m_ver->setObjectName(QStringLiteral("VER"));
    // After the designed command: the libraries' notices, which the program must be able to show.
    m_lic = m_hlp->addAction(QStringLiteral("ライセンス情報"));
    m_lic->setObjectName(QStringLiteral("LIC"));
}

QWidget *Form1::parentOf(int frame, QWidget *client) const
{
    return frame == 0 ? client : static_cast<QWidget *>(m_frame[frame]);
}

void Form1::buildFrames(QWidget *client)
{
    for (const FrameRow &row : kFrames) {
        auto *frame = new QGroupBox(QString::fromUtf8(row.caption), client);
        frame->setObjectName(QStringLiteral("Frame%1").arg(row.number));
        placeInTwips(frame, row.left, row.top, row.width, row.height);
        frame->setFont(fontOf(row.face, font()));
        if (row.tooltip)
            frame->setToolTip(QString::fromUtf8(row.tooltip));
        m_frame[row.number] = frame;
    }
}

// The option buttons are as small as their captions (17 px high, 25 px for a race number), too
// small for a round indicator beside the text, so they are drawn as toggles: a selected button
// looks pressed.
const char *const kToggleStyle = R"(
QRadioButton { border: 1px solid palette(mid); border-radius: 2px; background: palette(button);
               padding-left: 2px; spacing: 0px; }
QRadioButton:checked { border: 1px solid palette(shadow); background: palette(midlight);
                       font-weight: bold; }
QRadioButton:disabled { color: palette(mid); }
QRadioButton:focus { border: 1px dotted palette(shadow); }
QRadioButton::indicator { width: 0px; height: 0px; image: none; border: none; }
)";

void Form1::buildOptions()
{
    for (const FrameRow &row : kFrames) {
        auto *group = new QButtonGroup(this);
        group->setExclusive(true);
        m_group[row.number] = group;
    }
    for (const OptionRow &row : kOptions) {
        const spat4::Venue *venue = form1::venueOfButton(row.number);
        auto *option = new QRadioButton(QString::fromUtf8(venue ? venue->name : row.caption),
                                        m_frame[row.frame]);
        option->setObjectName(QStringLiteral("Option%1").arg(row.number));
        placeInTwips(option, row.left, row.top, row.width, row.height);
        option->setStyleSheet(QLatin1String(kToggleStyle));
        option->setChecked(row.start == Start::Selected);
        option->setEnabled(row.start != Start::Disabled);
        m_group[row.frame]->addButton(option, row.number);
        m_option[row.number] = option;
    }
}

void Form1::buildLabels(QWidget *client)
{
    for (const LabelRow &row : kLabels) {
        const bool colouredBox = row.bordered && row.colour != Colour::Default;
        auto *label = colouredBox ? new ColouredTextBoxLabel(parentOf(row.frame, client))
                                  : new PlainLabel(parentOf(row.frame, client));
        label->setObjectName(QStringLiteral("Label%1").arg(row.number));
        placeInTwips(label, row.left, row.top, row.width, row.height);
        label->setAlignment(row.align);
        label->setFont(fontOf(row.face, font()));
        if (row.bordered)
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
        if (row.colour != Colour::Default) {
            // The text takes the colour through its own role; a bordered label draws its box
            // again in WindowText (ColouredTextBoxLabel), so Label22's border stays black.
            QPalette palette = label->palette();
            palette.setColor(QPalette::Text,
                             row.colour == Colour::Red ? QColor(255, 0, 0) : QColor(0, 0, 255));
            label->setPalette(palette);
            label->setForegroundRole(QPalette::Text);
        }
        label->setProperty("autoSize", row.autoSize);
        setCaption(label, QString::fromUtf8(row.caption));
        m_label[row.number] = label;
    }
    // The time stamp is wider than its fixed-size label; like any label that does not size
    // itself, it breaks onto the label's second line instead of being cut off.
    m_label[1]->setWordWrap(true);
    // The time stamp and the mark numbers ("12　番", right-aligned) must show whole whatever
    // font the system gives for the design's and whatever its date format.
    for (int n : {1, 11, 12, 13, 27, 28})
        m_label[n]->setProperty("designFont", m_label[n]->font());
}

void Form1::buildGrid(QWidget *client)
{
    for (int r = 1; r <= kRows; ++r) {
        const int top = gridTop(r);

        auto *number = new PlainLabel(QString::number(r), client);
        number->setObjectName(horseNumberName(r));
        placeInTwips(number, kHorseNumber.left, top, kHorseNumber.width, kHorseNumber.height);
        number->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        number->setFont(fontOf(Face::HorseNumber, font()));
        // Two bold italic digits are wider than the box in some fonts that stand in for the
        // design's: they get a smaller size rather than losing their edges.
        number->setProperty("designFont", number->font());
        setCaption(number, number->text());
        m_label2[r - 1] = number;

        for (const GridColumn &column : kGridColumns) {
            auto *box = new QLineEdit(client);
            box->setObjectName(textName(column.column, r));
            placeInTwips(box, column.left, top, column.width, column.height);
            box->setMaxLength(column.maxLength);
            box->setEnabled(column.enabled);
            box->setToolTip(column.tooltip);
            box->setAccessibleName(
                QStringLiteral("%1番 %2").arg(r).arg(form1::columnHeading(column.column)));
            // Numbers only: keep the input method off and turn full-width forms into ASCII.
            box->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
            box->setAttribute(Qt::WA_InputMethodEnabled, false);
            box->setValidator(new HalfWidthValidator(box));
            m_text[column.column][r] = box;
        }

        auto *separator = new PlainLabel(QStringLiteral("～"), client);
        separator->setObjectName(separatorName(r));
        placeInTwips(separator, kSeparator.left, top, kSeparator.width, kSeparator.height);
        separator->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        separator->setToolTip(kOddsTip);
        separator->setProperty("autoSize", true);
        separator->adjustSize();
        if (r == 2)
            m_label[5] = separator;
        else
            m_label4[r == 1 ? 0 : r - 2] = separator;
    }
}

void Form1::buildRightColumn(QWidget *client)
{
    for (const CommandRow &row : kCommands) {
        auto *button = new QPushButton(QString::fromUtf8(row.caption), client);
        button->setObjectName(QStringLiteral("Command%1").arg(row.number));
        placeInTwips(button, row.left, row.top, row.width, row.height);
        button->setFont(fontOf(row.face, font()));
        button->setAutoDefault(false);
        if (row.tooltip)
            button->setToolTip(QString::fromUtf8(row.tooltip));
        m_command[row.number] = button;
    }

    const ControlRow &combo1 = control("Combo1");
    m_combo1 = placed(new QComboBox(parentOf(combo1.frame, client)), combo1);
    for (int count = engine::kMinRunners; count <= engine::kMaxRunners; ++count)
        m_combo1->addItem(QString::number(count));
    m_combo1->setCurrentIndex(-1);
    m_combo1->setToolTip(QStringLiteral("出走馬数"));
    m_combo1->setAccessibleName(QStringLiteral("出走馬数"));

    const ControlRow &progressBar1 = control("ProgressBar1");
    m_progressBar1 = placed(new QProgressBar(parentOf(progressBar1.frame, client)), progressBar1);
    m_progressBar1->setRange(0, kProgressSteps);
    m_progressBar1->setValue(0);
    m_progressBar1->setTextVisible(false);
    m_progressBar1->setAccessibleName(QStringLiteral("解析中"));

    const QIcon icon(kIconPath);
    const ControlRow &image1 = control("Image1");
    m_image1 = placed(new PlainLabel(parentOf(image1.frame, client)), image1);
    m_image1->setPixmap(icon.pixmap(twipsSize(image1.width, image1.height)));
    m_image1->setAccessibleName(QStringLiteral("ミルカ！！！（地方版）"));

    // The picture is shown at its own size from the top-left corner and cut off at the edges.
    const ControlRow &picture1 = control("Picture1");
    m_picture1 = placed(new PlainLabel(parentOf(picture1.frame, client)), picture1);
    m_picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_picture1->setLineWidth(2);
    m_picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture1->setPixmap(QPixmap(kPicturePath));
    m_picture1->setAccessibleName(QStringLiteral("ミルカ！！！ 地方版"));
}

void Form1::buildLines(QWidget *client)
{
    // Every line is horizontal or vertical, so each is a thin filled strip that takes no input.
    for (const LineRow &row : kLines) {
        const int before = (row.width - 1) / 2, after = row.width - 1 - before;
        const QRect strip =
            QRect(QPoint(twips(row.x1), twips(row.y1)), QPoint(twips(row.x2), twips(row.y2)))
                .normalized()
                .adjusted(-before, -before, after, after);
        auto *line = new QWidget(client);
        line->setObjectName(QLatin1String(row.name));
        line->setGeometry(strip);
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
        line->setFocusPolicy(Qt::NoFocus);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, row.shadow ? palette.color(QPalette::Dark)
                                                      : palette.color(QPalette::WindowText));
        line->setPalette(palette);
        line->setAutoFillBackground(true);
    }
}

void Form1::buildStatusBar(QWidget *client)
{
    const ControlRow &statusBar1 = control("StatusBar1");
    m_statusBar1 = placed(new QStatusBar(parentOf(statusBar1.frame, client)), statusBar1);

    auto *textPanel = new PlainLabel(m_statusBar1);
    textPanel->setMinimumWidth(twips(kTextPanelWidth));
    m_statusBar1->addWidget(textPanel);
    m_datePanel = new PlainLabel(m_statusBar1);
    m_timePanel = new PlainLabel(m_statusBar1);
    for (QLabel *panel : {m_datePanel, m_timePanel}) {
        panel->setMinimumWidth(twips(kPanelMinimumWidth));
        panel->setAlignment(Qt::AlignCenter);
        m_statusBar1->addPermanentWidget(panel);
    }
    m_datePanel->setObjectName(QStringLiteral("StatusBar1.Date"));
    m_timePanel->setObjectName(QStringLiteral("StatusBar1.Time"));
}

void Form1::setTabOrderAsDesigned()
{
    QList<QWidget *> order;
    for (int r = 1; r <= kRows; ++r) {
        for (int c = 1; c <= 3; ++c)
            order << m_text[c][r];
    }
    for (int r = 1; r <= kRows; ++r) {
        for (int c = 4; c <= 5; ++c)
            order << m_text[c][r];
    }
    order << m_command[1] << m_command[2] << m_command[3];
    for (int n : {21, 22, 23, 24})
        order << m_option[n];
    for (int n = 1; n <= form1::kRaceButtons; ++n)
        order << m_option[n];
    order << m_option[16] << m_option[17] << m_combo1 << m_option[13] << m_option[14]
          << m_option[15];
    order << m_progressBar1 << m_picture1 << m_statusBar1 << m_option[30];
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QLineEdit *Form1::Text(int column, int row) const
{
    Q_ASSERT(column >= 1 && column <= 5 && row >= 1 && row <= kRows);
    return m_text[column][row];
}

QLabel *Form1::Label(int number) const
{
    Q_ASSERT(number >= 1 && number <= 28 && number != 2 && number != 4);
    return m_label[number];
}

QLabel *Form1::Label2(int index) const
{
    return m_label2.at(index);
}
QLabel *Form1::Label4(int index) const
{
    return m_label4.at(index);
}
QRadioButton *Form1::Option(int number) const
{
    return m_option.at(number);
}
QPushButton *Form1::Command(int number) const
{
    return m_command.at(number);
}
QGroupBox *Form1::Frame(int number) const
{
    return m_frame.at(number);
}
