#include "Form1.h"
#include "Module1.h"
#include "Spat4Folder.h"
#include "Startup.h"

#include <QApplication>

#include <utility>

int main(int argc, char *argv[])
{
    const bool platformChosen = preferX11WhereAtHand();
    QApplication app(argc, argv);
    if (platformChosen)
        qunsetenv("QT_QPA_PLATFORM");
    setUpApplication(app);

    auto splash = showSplash();
    Module1 state;
    const auto folder = spat4::systemSpat4Folder();
    Form1 window(state, *folder);
    if (!Form1_Load(window, state, *folder, std::move(splash)))
        return 0; // "キャンセル" in the data-check dialog: the window is never shown
    window.show();
    return app.exec();
}
