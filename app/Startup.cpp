#include "Startup.h"

#include "AvailabilityScan.h"
#include "Form1.h"
#include "Form3.h"
#include "JapaneseUi.h"
#include "Module1.h"

#include <QApplication>
#include <QLineEdit>

bool preferX11WhereAtHand()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        // A list: a display that no longer answers makes xcb give way to the next.
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
        return true;
    }
#endif
    return false;
}

void setUpApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("milka"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.example.tomoro.Milka"));
    useDesignedStyle();
    installJapaneseTranslation(app);
    installJapaneseFonts();
}

std::unique_ptr<frmSplash> showSplash(const frmSplash::Clock &clock)
{
    auto splash = std::make_unique<frmSplash>();
    splash->setClock(clock);
    splash->showAndDraw();
    return splash;
}

bool Form1_Load(Form1 &window, Module1 &state, const spat4::Spat4Folder &folder,
                std::unique_ptr<frmSplash> splash)
{
    if (!splash)
        splash = showSplash();
    splash->close(); // holds a little over two seconds
    splash.reset();

    {
        // No owner: the main window is not visible yet.
        Form3 dialog(state);
        if (dialog.exec() == Form3::EndProgram)
            return false;
    }

    if (state.Spat4DataFlag == 1) {
        window.applyKindCaptions();
        spat4::scanAvailability(folder, state.availability);
        window.applyVenueAvailability(state.availability);
    }

    window.initialiseInputs();
    window.Text(1, 1)->setFocus();
    return true;
}
