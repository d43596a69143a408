// The INI object of a running skin load: one per process, alive from the start to the end of one load.
#pragma once

#include "platform/classes/TMemIniFile.h"

#include <memory>

namespace korvex::skin {

std::unique_ptr<classes::TMemIniFile>& SkinLoadIni();

}
