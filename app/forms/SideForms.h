// The program's side windows, for the main window that opens them.
#pragma once

#include "app/forms/OptionsWindow.h"
#include "app/forms/AboutWindow.h"
#include "app/forms/LogViewerWindow.h"
#include "app/forms/CoresDiagramWindow.h"
#include "app/forms/HistoryWindow.h"
#include "app/forms/HistoryFindWindow.h"
#include "app/forms/ManualProjectWindow.h"
#include "app/forms/NodeInformationWindow.h"
