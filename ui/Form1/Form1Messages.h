#pragma once

#include <QString>

namespace engine {
struct ForecastError;
}
namespace spat4 {
struct LoadProblem;
}

// Every message the main window shows, in one place.
namespace form1 {

// The confirmations (OK and Cancel, the question icon, Cancel the default).
QString confirmClearText();
QString confirmExitText();
QString confirmLoadText();

// The loader's warning when no file is chosen or none answers the choice.
QString noLoadDataText();

// The warning for an odds file that cannot be loaded.
QString loadProblemText(const spat4::LoadProblem &problem);

// The message that refuses a forecast, naming the horse and the column.
QString forecastErrorText(const engine::ForecastError &error);

} // namespace form1
