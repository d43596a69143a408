// The gallery's right-to-left page.
#pragma once

namespace korvex::classes {
class TForm;
}

namespace korvex::gallery {

// A form with two columns of the skinned controls that read right to left differently: the left column left to
// right, the right column right to left.
classes::TForm* BuildRightToLeftPage();

}
