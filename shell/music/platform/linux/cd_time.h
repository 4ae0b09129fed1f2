// Positions on an audio CD in the media command time formats. Positions are sector numbers
// counted from the start of the program area (75 sectors a second); msf and milliseconds are
// absolute disc times, which add the two-second lead-in before the first sector; tmsf counts
// from the start of a track.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "music/platform/linux/mci_command.h"

namespace vellora::shell::mci {

inline constexpr int32_t kSectorsPerSecond = 75;
inline constexpr int32_t kLeadInSectors = 150;

// Sectors [start, end).
struct SectorSpan {
  int32_t start = 0;
  int32_t end = 0;
  bool operator==(const SectorSpan& other) const { return start == other.start && end == other.end; }
};

// The tracks of a disc: the first track's number, each track's first sector and kind, and the
// sector after the last track.
struct DiscLayout {
  int32_t firstTrack = 1;
  std::vector<int32_t> trackStarts;  // in track order
  std::vector<bool> audio;           // per track: audio, or data that cannot be played
  int32_t leadOut = 0;

  int32_t TrackCount() const { return static_cast<int32_t>(trackStarts.size()); }
  int32_t LastTrack() const { return firstTrack + TrackCount() - 1; }
  bool HasTrack(int64_t track) const { return track >= firstTrack && track <= LastTrack(); }
  int32_t TrackStart(int32_t track) const { return trackStarts[track - firstTrack]; }
  int32_t TrackEnd(int32_t track) const {
    return track == LastTrack() ? leadOut : trackStarts[track - firstTrack + 1];
  }
  // The track that holds the sector (the last one for the lead-out, the first one before it).
  int32_t TrackAt(int32_t sector) const;
  bool IsAudio(int32_t track) const { return audio[track - firstTrack]; }

  // Whether the table of contents makes sense: track numbers 1 to 99, each track with its
  // kind, starting in order, all before the lead-out. A drive reports whatever the disc holds.
  bool Valid() const;
  // The audio parts of the sectors [start, end), in order; adjoining audio tracks make one part.
  std::vector<SectorSpan> AudioSpans(int32_t start, int32_t end) const;
};

// "TT:MM:SS:FF", "MM:SS:FF" or milliseconds, as a status reply gives a position.
std::string FormatPosition(TimeFormat format, const DiscLayout& disc, int32_t sector);
// The length of a span of sectors: "MM:SS:FF" in msf and tmsf alike, or milliseconds.
std::string FormatLength(TimeFormat format, int32_t sectors);

// Reads a position given to play. Colon-separated fields may be left off from the right
// ("3" is the start of track 3, "3:1" one minute into it). No value when the text is no
// position in that format or lies off the disc.
std::optional<int32_t> ParsePosition(TimeFormat format, const DiscLayout& disc,
                                     std::string_view text);

}  // namespace vellora::shell::mci
