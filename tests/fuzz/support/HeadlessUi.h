// The user interface the window-making fuzz targets run in: a headless display on a still clock, the
// message queue and the application, made once for the whole run.
#pragma once

namespace korvex::fuzz {

// Makes the display, the queue and the application on first call; later calls do nothing.
void StartHeadlessUi();
// Runs what the queue holds and presents the display, as one turn of the message loop.
void PumpUi();

}
