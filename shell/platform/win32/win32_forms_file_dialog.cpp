#include "platform/win32/win32_forms_file_dialog.h"

#include "platform/win32/win32_forms_text.h"

namespace vellora::shell {
namespace {

// The file and file-title buffers hold this many characters, their terminating NUL included.
// A longer choice fails the call (FNERR_BUFFERTOOSMALL): it is refused whole, never cut.
constexpr DWORD kBufferCharacters = 255;

}  // namespace

bool ShowOpenFileDialog(HWND owner, const std::string& title, const std::string& filterName,
                        const std::string& patterns, std::string& path) {
  // One filter entry: "name\0patterns\0", ended by a second NUL.
  std::wstring filter = Utf8ToWide(filterName);
  filter.push_back(L'\0');
  filter += Utf8ToWide(patterns);
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  const std::wstring caption = Utf8ToWide(title);
  wchar_t file[kBufferCharacters + 1] = {};
  wchar_t fileTitle[kBufferCharacters + 1] = {};

  OPENFILENAMEW record{};
  // The record of the classic dialog, without the fields added after it.
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  record.hwndOwner = owner;
  record.hInstance = ::GetModuleHandleW(nullptr);
  record.lpstrFilter = filter.c_str();
  record.nFilterIndex = 0;
  record.lpstrFile = file;
  record.nMaxFile = kBufferCharacters;
  record.lpstrFileTitle = fileTitle;
  record.nMaxFileTitle = kBufferCharacters;
  record.lpstrInitialDir = nullptr;
  record.lpstrTitle = caption.c_str();
  record.Flags = 0;
  if (!::GetOpenFileNameW(&record)) return false;
  path = WideToUtf8(std::wstring(file));
  return true;
}

}  // namespace vellora::shell
