#pragma once

#include "Forecast.h"
#include "Form1.h"
#include "JapaneseUi.h"
#include "Module1.h"
#include "Spat4Folder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>

// A SPAT4 folder with no files.
class EmptySpat4Folder : public spat4::Spat4Folder {
public:
    std::vector<spat4::FolderEntry> list() const override { return {}; }
};

// What one message box showed, and how the test answered it.
struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString defaultButton;
    QStringList buttons;
};

// How the test answers a box: a button to click, or the Enter key (which presses the default).
struct Answer {
    QMessageBox::StandardButton button = QMessageBox::NoButton;
    static Answer click(QMessageBox::StandardButton button) { return {button}; }
    static Answer enter() { return {QMessageBox::NoButton}; }
};

// Answers the next message boxes in turn from the event loop of each box, as a user would,
// recording what each one showed. Boxes that never open are simply not recorded.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(std::vector<Answer> answers) : m_answers(std::move(answers))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }
    const std::vector<SeenBox> &seen() const { return m_seen; }

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box == m_last)
            return;
        m_last = box;
        SeenBox seen{box->text(), box->windowTitle(), box->icon(), {}, {}};
        if (box->defaultButton())
            seen.defaultButton = box->defaultButton()->text();
        for (QAbstractButton *button : box->buttons())
            seen.buttons << button->text();
        m_seen.push_back(seen);
        const Answer answer = m_answers.at(m_seen.size() - 1);
        if (m_seen.size() == m_answers.size())
            m_timer.stop();
        if (answer.button == QMessageBox::NoButton)
            QTest::keyClick(box, Qt::Key_Return);
        else
            box->button(answer.button)->click();
    }

    std::vector<Answer> m_answers;
    std::vector<SeenBox> m_seen;
    QPointer<QMessageBox> m_last;
    QTimer m_timer;
};

// Types text key by key as a keyboard would, full-width characters included (which
// QTest::keyClicks cannot map to keys).
inline void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Fonts and Qt's Japanese translation, as main() installs them.
inline void installJapaneseUi()
{
    useDesignedStyle();
    installJapaneseFonts();
    installJapaneseTranslation(*static_cast<QApplication *>(QCoreApplication::instance()));
}

// Each test function gets a fresh window over its own folder, in the state start-up leaves it.
template <typename Folder> class Form1TestCase : public QObject {
protected:
    void makeWindow()
    {
        m_state = std::make_unique<Module1>();
        m_form = std::make_unique<Form1>(*m_state, m_folder);
        m_form->initialiseInputs();
    }
    void dropWindow()
    {
        m_form.reset();
        m_state.reset();
    }

    // In this order, so the window goes before the state and folder it refers to.
    std::unique_ptr<Module1> m_state;
    Folder m_folder;
    std::unique_ptr<Form1> m_form;
};
