// The display count behind ShowCursor: the cursor is visible while the count is 0 or more.
// Only the steps that cross between -1 and 0 change what the screen shows, so a hide and a
// show always pair up however often they are called.
#pragma once

namespace vellora::shell {

class CursorShowCount {
 public:
  enum class Change { Unchanged, Hide, Show };

  // One ShowCursor call; returns what the screen's cursor has to do.
  Change Step(bool show) {
    if (show) return ++count_ == 0 ? Change::Show : Change::Unchanged;
    return --count_ == -1 ? Change::Hide : Change::Unchanged;
  }
  int Count() const { return count_; }

 private:
  int count_ = 0;
};

}  // namespace vellora::shell
