// Which of this process's widgets a pointer at a screen point would be over, other programs'
// windows on top taken into account.
#pragma once

#include <gtk/gtk.h>

#include "platform/forms_platform.h"

namespace vellora::shell {

// The widget owning the innermost visible GDK window of this process at the point; null when
// the point lies on another program's window or on the bare desktop.
GtkWidget* WidgetAtScreenPoint(PixelPoint point);

}  // namespace vellora::shell
