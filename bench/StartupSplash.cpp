// The program's own start-up, line for line as main() runs it, ended at the splash's first
// frame, before its hold: prints the time from process start and the peak resident memory then.
#include "FirstFrameProbe.h"
#include "Form1.h"
#include "Module1.h"
#include "Spat4Folder.h"
#include "Startup.h"

#include <QApplication>

#include <utility>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    bench::FirstFrameProbe probe;
    probe.stage("fonts_and_translation");

    auto splash = showSplash();
    Module1 state;
    const auto folder = spat4::systemSpat4Folder();
    Form1 window(state, *folder);
    probe.stage("form1_built");
    Form1_Load(window, state, *folder, std::move(splash));
    return 1; // the probe has ended the process at the splash's first frame
}
