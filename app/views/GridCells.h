// A text colour readable on its background.
#pragma once

namespace korvex::app {

// The wanted text colour when it reads well on the background (contrast at least 3), else black or white,
// whichever reads better.
int ReadableTextColour(int background, int wanted);

}
