#include "frmAbout.h"

#include "JapaneseUi.h"
#include "MessageBoxes.h"
#include "PlainLabel.h"
#include "ResourceNames.h"
#include "SysInfo.h"
#include "TaskbarHint.h"
#include "ScreenFit.h"
#include "Twips.h"
#include "Version.h"
#include "VersionCaption.h"

#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QRegularExpression>

#include <array>
#include <string_view>

namespace {

enum class Kind { Picture, Label, Button };

struct LabelFont {
    double points;
    bool italic;
    bool underline;
};

struct ControlRow {
    const char *name;
    Kind kind;
    int left, top, width, height;
    const char *text; // nullptr: set at load
    const LabelFont *font;
    bool black;
    bool autoSize;
};

// Every label is in the proportional Japanese font (kPGothic), bold; the buttons keep the
// dialog's font.
constexpr LabelFont kTextFont{9.75, false, false};
constexpr LabelFont kMakerFont{8.25, true, true};

// clang-format off
constexpr std::array kControls{
    //          name              kind          Left  Top   Width Height  text                   font         black  autoSize
    ControlRow{"picIcon",        Kind::Picture,  240,  240,  540,  540, "",                     nullptr,     false, true },
    ControlRow{"lblTitle",       Kind::Label,   1050,  240, 3885,  480, "ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ",         &kTextFont,  true,  false},
    ControlRow{"lblVersion",     Kind::Label,   1050,  780, 3885,  225, "ﾊﾞｰｼﾞｮﾝ",               &kTextFont,  false, false},
    ControlRow{"lblDescription", Kind::Label,   1050, 1200, 3885, 1770, nullptr,                &kTextFont,  true,  false},
    ControlRow{"Label1",         Kind::Label,   3120, 3240, 2415,  165, "制作：トモロ",         &kMakerFont, false, true },
    ControlRow{"cmdOK",          Kind::Button,   960, 3600, 1380,  345, "OK",                   nullptr,     false, false},
    ControlRow{"cmdSysInfo",     Kind::Button,  3120, 3600, 1380,  345, "ｼｽﾃﾑ情報(&S)...",      nullptr,     false, false},
};

// The dialog's client area on the screen.
constexpr QRect kFormTwips{2340, 1935, 5730, 4050};

// The etched separator above the buttons: a grey line lying on a white one that is two wide,
// so the pair reads as a groove. Element 1 is made last, to lie on top.
struct LineRow {
    const char *name;
    int x1, y1, x2;
    QRgb colour;
    int widthPixels;
};
constexpr std::array kLines{
    LineRow{"Line1(0)", 120, 3480, 5669, qRgb(255, 255, 255), 2},
    LineRow{"Line1(1)", 120, 3480, 5684, qRgb(128, 128, 128), 1},
};

// Each sentence is padded with full-width spaces to the end of its line in the label, so the
// next one starts on a line of its own.
struct DescriptionLine {
    const char *sentence;
    int padding;
};
constexpr std::array kDescription{
    DescriptionLine{"ミルカソフトです。", 11},
    DescriptionLine{"的中実績有り！？", 14},
    DescriptionLine{"尚、出た結果につきましては当方は一切責任を負いかねますので、御了承下さい。", 27},
    DescriptionLine{"ご意見ご要望がありましたら、下記までメールいただけたらと思います。", 34},
};
// clang-format on
constexpr char kSupportAddress[] = "support@example.com";

QString descriptionText()
{
    QString text;
    for (const DescriptionLine &line : kDescription)
        text += QString::fromUtf8(line.sentence) + QString(line.padding, QChar(0x3000));
    return text + QString::fromLatin1(kSupportAddress);
}

// The description's padding was measured against the layout's own font; with any other font
// a sentence may end short of the line and the next one would follow on the same line. This
// label keeps the text as it is and starts a new line wherever a run of padding ends.
class DescriptionLabel : public PlainLabel {
public:
    using PlainLabel::PlainLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        static const QRegularExpression padding(QStringLiteral("\\x{3000}+"));
        QString shown = text();
        shown.replace(padding, QStringLiteral("\n"));
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(contentsRect(), int(alignment()) | Qt::TextWordWrap, shown);
    }
};

QWidget *makeControl(const ControlRow &row, QWidget *parent)
{
    const QString text = row.text ? QString::fromUtf8(row.text) : QString();
    QWidget *widget = nullptr;
    if (row.kind == Kind::Button) {
        auto *button = new QPushButton(text, parent);
        button->setAutoDefault(true);
        widget = button;
    } else {
        auto *label = std::string_view(row.name) == "lblDescription"
                          ? new DescriptionLabel(text, parent)
                          : new PlainLabel(text, parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(!row.autoSize);
        widget = label;
    }
    widget->setObjectName(QString::fromLatin1(row.name));
    placeInTwips(widget, row.left, row.top, row.width, row.height);
    if (row.font) {
        QFont font(kPGothic);
        font.setPointSizeF(row.font->points);
        font.setBold(true);
        font.setItalic(row.font->italic);
        font.setUnderline(row.font->underline);
        widget->setFont(font);
    }
    if (row.black) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        widget->setPalette(palette);
    }
    if (row.autoSize && row.kind == Kind::Label)
        widget->resize(widget->sizeHint());
    return widget;
}

} // namespace

QList<DesignedBox> frmAbout::designedBoxes()
{
    QList<DesignedBox> boxes{{QStringLiteral("frmAbout"), kFormTwips}};
    for (const ControlRow &row : kControls)
        boxes.append({QLatin1String(row.name),
                      {row.left, row.top, row.width, row.height},
                      row.autoSize ? DesignKeeps::TopLeft : DesignKeeps::Box});
    return boxes;
}

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent,
              // Owned by the main window, the dialog is kept above its owner and, on Windows,
              // has no taskbar button of its own; X11 desktops are asked for that (setVisible).
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_startSysInfo([] { return sysinfo::StartSysInfo(); })
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    placeInTwips(this, kFormTwips);
    setFixedSize(size());
    keepOnScreen(this);

    for (const LineRow &row : kLines) {
        auto *line = new QWidget(this);
        line->setObjectName(QString::fromLatin1(row.name));
        line->setGeometry(twips(row.x1), twips(row.y1), twips(row.x2) - twips(row.x1),
                          row.widthPixels);
        line->setAutoFillBackground(true);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, QColor(row.colour));
        line->setPalette(palette);
    }
    for (const ControlRow &row : kControls)
        makeControl(row, this);

    picIcon = findChild<QLabel *>(QStringLiteral("picIcon"));
    lblTitle = findChild<QLabel *>(QStringLiteral("lblTitle"));
    lblVersion = findChild<QLabel *>(QStringLiteral("lblVersion"));
    lblDescription = findChild<QLabel *>(QStringLiteral("lblDescription"));
    cmdOK = findChild<QPushButton *>(QStringLiteral("cmdOK"));
    cmdSysInfo = findChild<QPushButton *>(QStringLiteral("cmdSysInfo"));

    lblDescription->setText(descriptionText());
    // The box takes the size of its picture; without the icon it keeps its layout size.
    const QIcon icon(kProgramIconResource);
    if (!icon.isNull()) {
        picIcon->setPixmap(icon.pixmap(32, 32));
        picIcon->resize(picIcon->pixmap().deviceIndependentSize().toSize());
    }

    cmdOK->setDefault(true);
    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    Form_Load();
}

void frmAbout::setSysInfoStarter(std::function<bool()> starter)
{
    m_startSysInfo = std::move(starter);
}

void frmAbout::setVisible(bool visible)
{
    // Not listed in the taskbar, on every desktop.
    if (visible && !isVisible())
        askForNoTaskbarEntry(this);
    QDialog::setVisible(visible);
}

void frmAbout::Form_Load()
{
    const QString title = QString::fromUtf8(milka::kApplicationTitle);
    setWindowTitle(title + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    lblVersion->setText(
        versionCaption(milka::kVersionMajor, milka::kVersionMinor, milka::kVersionRevision));
    lblTitle->setText(title);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    if (m_startSysInfo())
        return;
    tell(this, QString::fromUtf8(milka::kApplicationTitle),
         QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
}
