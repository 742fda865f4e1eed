#pragma once

class QWidget;

namespace kestrova {

// Shows `window` and lets it fade in to `opacity255` (of 255). Where the platform cannot make
// windows translucent the window is just shown, at that opacity.
void FadeIn(QWidget* window, int opacity255);

}  // namespace kestrova
