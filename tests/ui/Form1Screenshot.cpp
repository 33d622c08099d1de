// Builds the main window as start-up leaves it, with a few results on screen, and saves a PNG.
// Usage: form1_screenshot <file.png>   (tools/screenshot runs it under a virtual display)

#include "Form1TestSupport.h"

#include <QLineEdit>
#include <QPixmap>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installJapaneseUi();
    Module1 state;
    EmptySpat4Folder folder;
    Form1 form(state, folder);
    form.initialiseInputs();
    const char *const example[8][5] = {
        {"3", "0", "3", "1.5", "2.1"}, {"2", "1", "0", "1.1", "1.3"}, {"5", "1", "3", "2.0", "3.2"},
        {"0", "0", "0", "", ""},       {"2", "2", "2", "1.1", "1.3"}, {"3", "3", "3", "4.0", "6.5"},
        {"0", "5", "0", "1.6", "2.2"}, {"1", "2", "0", "3.0", "4.8"},
    };
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 5; ++c)
            form.Text(c, r)->setText(QString::fromUtf8(example[r - 1][c - 1]));
    form.Command1_Click();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    QTest::qWait(200);
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Form1.png");
    return form.grab().save(path) ? 0 : 1;
}
