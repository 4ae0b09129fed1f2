// The settings dialog's painted backgrounds: a vertical sine gradient drawn as one line per
// pixel row into a form's or a panel's retained picture. For a surface H pixels high, row y
// gets the level L = |sin(y / K)| x 220 with K = H / 3.142, rounded halves to even: 0 at the
// top and bottom edges, 220 across the middle.
#pragma once

#include "platform/forms_platform.h"

namespace vellora::shell {

class Container;

// The level of row y on a surface of the given height.
int SineGradientLevel(int y, int height);

// Paints every row of the container's picture in the colour given for its level.
void PaintSineGradient(Container& surface, Rgb (*colourOfLevel)(int level));

// The dialog's colours, navy to lavender (L, L, L + 30), and the panel's, dark grey to
// near-white (L + 30 on each channel).
Rgb DialogGradientColour(int level);
Rgb PanelGradientColour(int level);

}  // namespace vellora::shell
