// The data-folder probes on Windows, through the wide-character API. Paths go in and come out
// as narrow text in the caller's encoding: UTF-8 for the shell, the system's ANSI code page for
// the renderer, which opens its files with the narrow C library.
#pragma once

#include <optional>
#include <string>

#include "data_folder_probes.h"

namespace vellora {

enum class PathEncoding { Utf8, AnsiCodePage };

// A narrow path as the wide-character API takes it; no value for an empty path, an embedded
// NUL or, in UTF-8, malformed text.
std::optional<std::wstring> WidePath(const std::string& path, PathEncoding encoding);

class Win32FolderProbes final : public DataFolderProbes {
 public:
  explicit Win32FolderProbes(PathEncoding encoding) : encoding_(encoding) {}

  FolderConvention Convention() const override { return FolderConvention::Windows; }
  std::string EnvironmentVariable(const std::string& name) override;
  std::string HomeFolder() override;
  FolderUse CheckFolder(const std::string& folder) override;
  bool IsFile(const std::string& path) override;
  bool CreateFolder(const std::string& folder) override;

 private:
  std::optional<std::wstring> Wide(const std::string& text) const { return WidePath(text, encoding_); }
  std::optional<std::string> Narrow(const std::wstring& text) const;
  // A folder path in the caller's encoding; in the ANSI code page a name it cannot spell is
  // given by its short (8.3) form, which names the same folder.
  std::string NarrowFolder(const std::wstring& folder) const;

  PathEncoding encoding_;
};

}  // namespace vellora
