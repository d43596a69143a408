// The program's side windows, for the main window that opens them.
#pragma once

#include "app/forms/Unit1.h"
#include "app/forms/Unit2.h"
#include "app/forms/Unit3.h"
#include "app/forms/Unit4.h"
#include "app/forms/Unit5.h"
#include "app/forms/Unit6.h"
#include "app/forms/Unit7.h"
#include "app/forms/Unit8.h"
