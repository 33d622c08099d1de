#include "Form3.h"

#include "JapaneseUi.h"
#include "Module1.h"
#include "PlainLabel.h"
#include "ResourceNames.h"
#include "ScreenFit.h"
#include "Twips.h"

#include <QCalendarWidget>
#include <QDate>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <vector>

namespace {

enum class Kind { Calendar, Button, Label };

struct LabelStyle {
    double points;
    bool bold;
    bool underline;
    bool blue;
};

struct ControlRow {
    const char *name;
    Kind kind;
    const char *text;
    int left, top, width, height;
    int tabIndex;
    const char *toolTip;
    const LabelStyle *style; // labels only, in the proportional Japanese font (kPGothic)
};

constexpr LabelStyle kNoteStyle{9.0, false, true, true};
constexpr LabelStyle kQuestionStyle{11.25, true, false, false};

// The dialog's client area on the screen.
constexpr QRect kFormTwips{5370, 3360, 5835, 4470};

// In the order of the form's control list: later controls lie above earlier ones.
// clang-format off
constexpr std::array kControls{
    //          name          kind            text                                Left  Top   Width Height Tab  tool tip                                style
    ControlRow{"MonthView1", Kind::Calendar, "",                                 3120, 1080, 2385, 2220, 5, "",                                      nullptr},
    ControlRow{"Command3",   Kind::Button,   "キャンセル",                         480, 2640, 2295,  615, 3, "",                                      nullptr},
    ControlRow{"Command2",   Kind::Button,   "SPAT4データ　無",                    480, 1920, 2295,  615, 2, "PATデータの無い方　又は　使用しない方", nullptr},
    ControlRow{"Command1",   Kind::Button,   "SPAT4データ　有",                    480, 1200, 2295,  615, 1, "PATデータのある方",                     nullptr},
    ControlRow{"Label2",     Kind::Label,    "※SPAT4でデータを読込んでから利用したい方は、キャンセルをクリックして終了していただき、SPAT4複勝データデータを読込んでから起動して下さい。",
                                                                                   480, 3480, 3735,  855, 4, "",                                      &kNoteStyle},
    ControlRow{"Label1",     Kind::Label,    "SPAT4で複勝オッズデータを読込まれていますか？ （取り込まれていれば、そのデータを利用できます。）",
                                                                                   240,  240, 5415,  615, 0, "",                                      &kQuestionStyle},
};
// clang-format on

// The calendar keeps its designed box; where the system's font and style need more room for
// seven day columns than the box has, its font gets smaller rather than Saturday going.
void fitCalendarToItsBox(QCalendarWidget *calendar)
{
    shrinkFontToFit(calendar, calendar->font(), [calendar] {
        const QSize needed = calendar->minimumSizeHint();
        return needed.width() <= calendar->width() && needed.height() <= calendar->height();
    });
}

QWidget *makeControl(const ControlRow &row, QWidget *parent)
{
    const QString text = QString::fromUtf8(row.text);
    QWidget *widget = nullptr;
    switch (row.kind) {
    case Kind::Calendar: {
        auto *calendar = new QCalendarWidget(parent);
        calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        widget = calendar;
        break;
    }
    case Kind::Button: {
        auto *button = new QPushButton(text, parent);
        // Enter presses the button that has the focus, else the default button.
        button->setAutoDefault(true);
        widget = button;
        break;
    }
    case Kind::Label: {
        auto *label = new PlainLabel(text, parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        QFont font(kPGothic);
        font.setPointSizeF(row.style->points);
        font.setBold(row.style->bold);
        font.setUnderline(row.style->underline);
        label->setFont(font);
        if (row.style->blue) {
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
            label->setPalette(palette);
        }
        widget = label;
        break;
    }
    }
    widget->setObjectName(QString::fromLatin1(row.name));
    placeInTwips(widget, row.left, row.top, row.width, row.height);
    widget->setToolTip(QString::fromUtf8(row.toolTip));
    return widget;
}

} // namespace

QList<DesignedBox> Form3::designedBoxes()
{
    QList<DesignedBox> boxes{{QStringLiteral("Form3"), kFormTwips}};
    for (const ControlRow &row : kControls)
        boxes.append({QLatin1String(row.name), {row.left, row.top, row.width, row.height}});
    return boxes;
}

Form3::Form3(Module1 &state, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_state(state)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("SPAT4データ確認"));
    setWindowIcon(QIcon(kProgramIconResource));
    placeInTwips(this, kFormTwips);
    setFixedSize(size());
    keepOnScreen(this);

    std::vector<std::pair<int, QWidget *>> tabOrder;
    for (const ControlRow &row : kControls) {
        QWidget *widget = makeControl(row, this);
        if (widget->focusPolicy() != Qt::NoFocus)
            tabOrder.emplace_back(row.tabIndex, widget);
    }
    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);

    MonthView1 = findChild<QCalendarWidget *>(QStringLiteral("MonthView1"));
    Command1 = findChild<QPushButton *>(QStringLiteral("Command1"));
    Command2 = findChild<QPushButton *>(QStringLiteral("Command2"));
    Command3 = findChild<QPushButton *>(QStringLiteral("Command3"));

    Command3->setDefault(true);
    // The calendar's day grid takes Enter for itself; here Enter on it presses the default
    // button, as on any control that is not a button.
    if (QWidget *grid = MonthView1->focusProxy())
        grid->installEventFilter(this);
    // The first control that takes the focus.
    tabOrder.front().second->setFocus();

    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form3::Command3_Click);

    Form_Load();
}

void Form3::Form_Load()
{
    // Month and day names follow the program's locale, which start-up sets to Japanese.
    MonthView1->setLocale(QLocale());
    MonthView1->setSelectedDate(QDate::currentDate());
    fitCalendarToItsBox(MonthView1);
}

void Form3::Command1_Click()
{
    m_state.Spat4DataFlag = 1;
    accept();
}

void Form3::Command2_Click()
{
    m_state.Spat4DataFlag = 0;
    accept();
}

void Form3::Command3_Click()
{
    m_state.Spat4DataFlag = 0;
    m_endRequested = true;
    done(EndProgram);
}

bool Form3::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Command3->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form3::keyPressEvent(QKeyEvent *event)
{
    // Esc presses the cancel button, which ends the program; QDialog would treat it as the
    // close box, which does not.
    if (event->matches(QKeySequence::Cancel)) {
        Command3->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
