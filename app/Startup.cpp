#include "Startup.h"

#include "Availability.h"
#include "Form1.h"
#include "Form3.h"
#include "Module1.h"

#include <QLineEdit>

bool Form1_Load(Form1 &window, Module1 &state, const spat4::Spat4Folder &folder,
                const frmSplash::Clock &clock)
{
    frmSplash::showAndHold(clock);

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
