// The application-wide busy pointer on GTK: the hourglass over every window of the process,
// the entry fields included, which otherwise keep showing their own I-beam; afterwards each
// window shows its own pointer again.
#pragma once

#include <gtk/gtk.h>

#include <utility>
#include <vector>

namespace vellora::shell {

class GtkBusyPointer {
 public:
  GtkBusyPointer() = default;
  ~GtkBusyPointer();
  GtkBusyPointer(const GtkBusyPointer&) = delete;
  GtkBusyPointer& operator=(const GtkBusyPointer&) = delete;

  void Set(bool busy);
  // What a new top-level window shows: the hourglass while busy, else null (its default).
  GdkCursor* Pointer() const { return pointer_; }

 private:
  void Cover(GdkWindow* window);

  GdkCursor* pointer_ = nullptr;
  // Each covered GDK window with the pointer it had (null: its parent's); both referenced.
  std::vector<std::pair<GdkWindow*, GdkCursor*>> covered_;
};

}  // namespace vellora::shell
