// The guide the program carries: the README's sections for users, its keys among them, read
// without a network.
#pragma once

class QWidget;

namespace evo {

// Opens the guide in a window of its own, or brings forward the one that is open. Escape closes
// it.
void ShowGuide();

}  // namespace evo
