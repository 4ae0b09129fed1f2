// The standard dialogs the shell uses: the message box and the open-file dialog.
#pragma once

#include <gtk/gtk.h>

#include <string>

namespace vellora::shell {

// A modal message with no icon, the caption as title and one "OK" button; returns when closed.
void RunMessageBox(const std::string& text, const std::string& caption);

// A modal open-file dialog with one filter of ";"-separated patterns that match in any letter
// case. True and the path when the user chose a file.
bool RunOpenFileDialog(GtkWindow* owner, const std::string& title, const std::string& filterName,
                       const std::string& patterns, std::string& path);

}  // namespace vellora::shell
