// The seam between the shell's portable logic and the operating system's files.
//
// Paths are UTF-8 and use "\" as the separator, the way the shell joins file names to its
// application folder; each backend (platform/posix, platform/win32, and the fake in the unit
// tests) turns them into what its system expects. The operations are the few that the
// settings store needs to read a file, replace it atomically and test for a readable file.
#pragma once

#include <string>
#include <string_view>

#include "data_folder_probes.h"

namespace vellora::shell {

enum class FileReadStatus {
  Ok,
  Missing,  // nothing exists at the path (or a folder on the way is missing)
  Failed,   // something is there but cannot be read as a file
};

// Whether a write waits until its bytes are on the disk. Flushed survives a crash of the
// system right after the write; Unflushed is enough for a file that is made anew at every use
// and whose readers cope with a broken one, since a replace is atomic either way.
enum class Durability { Flushed, Unflushed };

struct FileReadResult {
  FileReadStatus status = FileReadStatus::Failed;
  std::string bytes;  // the whole file when status is Ok
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Reads a whole regular file.
  virtual FileReadResult ReadFile(const std::string& path) = 0;

  // Creates a new file in the folder of path, under a name of its own that nothing had there
  // (never opening an existing file, nor following a link planted under that name), writes all
  // the bytes and closes it; Flushed also waits until they are on the disk. With ownerOnly the
  // file is readable and writable by its owner alone from the moment it appears; otherwise it
  // takes the permissions of the file at path, or a new file's defaults when there is none.
  // Returns the new file's path, or the empty text when any step failed, leaving nothing.
  virtual std::string WriteFileBeside(const std::string& path, std::string_view bytes, bool ownerOnly,
                                      Durability durability) = 0;

  // Renames source over target in one step, replacing target if it exists: a reader sees the
  // old file or the new one, never a mixture. Both lie in the same folder. A symbolic link at
  // target is replaced itself, never followed. False on failure, with target untouched; a
  // read-only target is such a failure, as an edit in place would be. Flushed also waits until
  // the rename is on the disk.
  virtual bool RenameOver(const std::string& source, const std::string& target, Durability durability) = 0;

  // The file that a replace of path writes: where a symbolic link at path leads (through
  // every link in turn), so that the link stays a link, or path itself.
  virtual std::string ResolveLinks(const std::string& path) { return path; }

  // Deletes a file if it can; a failure is not reported.
  virtual void RemoveFile(const std::string& path) = 0;

  // True when the path names something that can be opened for reading other than a folder.
  virtual bool CanOpenForReading(const std::string& path) = 0;

  // The same system's probes for the data-folder rule (where the snapshot and the settings go).
  virtual DataFolderProbes& FolderProbes() = 0;
};

// How ReplaceFileAtomically treats the file.
struct ReplaceHow {
  // Readable by its owner alone from the moment it appears, whatever the old file allowed.
  bool ownerOnly = false;
  // A symbolic link at the path is written through: the file it leads to is replaced, beside
  // itself, and the link stays. Otherwise the link itself is replaced by the new file, so that
  // a link planted at the path never leads the write elsewhere.
  bool throughLinks = true;
  // Flushed (the settings) waits for the disk at each step; Unflushed skips those waits.
  Durability durability = Durability::Flushed;
};

// Writes the bytes to a new file beside path (WriteFileBeside) and renames that over path: a
// reader sees the old file or the new one, and a failure (full disk, no rights, a read-only
// file) leaves the old file whole and removes the new one.
bool ReplaceFileAtomically(FileSystem& files, const std::string& path, std::string_view bytes, ReplaceHow how = {});

// The running system's file system (defined by the platform backend that is linked in).
FileSystem& PlatformFileSystem();

}  // namespace vellora::shell
