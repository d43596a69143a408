// The INI object of a running skin load: one per process, alive from the start to the end of one load.
#pragma once

#include "platform/classes/TMemIniFile.h"
#include "skin/engine/sSkinIniIndex.h"

#include <memory>
#include <string>

namespace korvex::skin {

std::unique_ptr<classes::TMemIniFile>& SkinLoadIni();
// The INI object's sections read once; null while there is no INI object.
const TsSkinIniIndex* SkinLoadIndex();
// Opens fileName as the INI object and reads its sections; Close frees both.
void OpenSkinLoadIni(const std::string& fileName);
void CloseSkinLoadIni();

}
