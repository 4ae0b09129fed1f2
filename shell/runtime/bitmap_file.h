// Saving a canvas as a Windows bitmap: uncompressed 24-bit, bottom row first, rows padded to
// 4 bytes, whatever the display's depth, so that every reader (the renderer first) gets it
// right at any width.
#pragma once

#include <string>

#include "platform/canvas.h"
#include "platform/file_system.h"

namespace vellora::shell {

// The file's bytes: 14-byte file header, 40-byte info header, pixel rows.
std::string EncodeBitmap24(const Canvas& picture);

// Writes the bitmap next to its final place and renames it over path, so that a reader sees
// the old file or the new one and a failed save leaves the old file whole; a link at path is
// replaced, never written through. With ownerOnly
// nobody else can read it (a picture of the user's desktop). The save does not wait for the
// disk: the snapshot is made anew at every session start, and a crash of the system at that
// moment can at worst leave a broken file, which the renderer reports and the next session
// replaces.
bool SaveBitmap24(FileSystem& files, const Canvas& picture, const std::string& path, bool ownerOnly = false);

}  // namespace vellora::shell
