// The smallest Qt Widgets program with the program's fonts: one empty main window. Prints the
// time from process start to its first frame and the peak resident memory then.
#include "FirstFrameProbe.h"
#include "JapaneseUi.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installJapaneseFonts();
    bench::FirstFrameProbe probe;
    probe.stage("fonts");
    QMainWindow window;
    window.setObjectName(QStringLiteral("baseline"));
    window.show();
    return app.exec();
}
