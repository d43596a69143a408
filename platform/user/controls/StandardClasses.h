// Registration of the standard native control classes.
#pragma once

namespace korvex::user {

// Registers every standard control class (each registration is done once; later calls do nothing).
bool RegisterStandardClasses();

}
