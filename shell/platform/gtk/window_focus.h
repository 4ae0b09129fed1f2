// Keyboard focus for a newly shown top-level window, as Windows activates a window it shows.
// Under a window manager GTK asks it to activate the window; on a bare X server, where nobody
// else gives out the focus, GTK sets it itself. Either way this can only happen once the
// window is mapped, which showing it does not wait for.
#pragma once

#include <gtk/gtk.h>

namespace vellora::shell {

// From now on the window takes the keyboard focus each time it is mapped.
void TakeFocusWhenMapped(GtkWindow* window);

}  // namespace vellora::shell
