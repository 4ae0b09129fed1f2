// end_session_win32 TITLE: sends the top-level window with this title what Windows sends every
// window at log-off, WM_QUERYENDSESSION and then, as the session may end, WM_ENDSESSION.
// Prints "query: N" with the window's answer (non-zero lets the session end). Exit code 0 once
// both messages went out, 1 when no such window exists or the query was refused.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  HWND window = ::FindWindowW(nullptr, argv[1]);
  if (window == nullptr) return 1;
  DWORD_PTR answer = 0;
  ::SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer);
  std::printf("query: %d\n", static_cast<int>(answer));
  if (answer == 0) return 1;
  // The window's process may end inside the call, which then fails; that is expected.
  ::SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer);
  return 0;
}
