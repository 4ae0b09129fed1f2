#include "music/platform/linux/cd_time.h"

#include <algorithm>
#include <cstdio>

namespace vellora::shell::mci {
namespace {

std::string TwoDigits(int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%02lld", static_cast<long long>(value));
  return text;
}

std::string Msf(int64_t sectors) {
  return TwoDigits(sectors / (60 * kSectorsPerSecond)) + ":" +
         TwoDigits(sectors / kSectorsPerSecond % 60) + ":" +
         TwoDigits(sectors % kSectorsPerSecond);
}

// Up to maxFields colon-separated decimal fields, each at most 3 digits.
std::optional<std::vector<int32_t>> SplitFields(std::string_view text, size_t maxFields) {
  std::vector<int32_t> fields;
  size_t at = 0;
  while (true) {
    const size_t colon = text.find(':', at);
    const std::string_view field = text.substr(at, colon == std::string_view::npos ? text.npos : colon - at);
    if (field.empty() || field.size() > 3) return std::nullopt;
    int32_t value = 0;
    for (char c : field) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + (c - '0');
    }
    fields.push_back(value);
    if (fields.size() > maxFields) return std::nullopt;
    if (colon == std::string_view::npos) return fields;
    at = colon + 1;
  }
}

// Minutes, seconds and frames from fields[first] on; missing ones are 0.
std::optional<int32_t> SectorsOf(const std::vector<int32_t>& fields, size_t first) {
  const int32_t minutes = fields.size() > first ? fields[first] : 0;
  const int32_t seconds = fields.size() > first + 1 ? fields[first + 1] : 0;
  const int32_t frames = fields.size() > first + 2 ? fields[first + 2] : 0;
  if (seconds >= 60 || frames >= kSectorsPerSecond) return std::nullopt;
  return (minutes * 60 + seconds) * kSectorsPerSecond + frames;
}

}  // namespace

int32_t DiscLayout::TrackAt(int32_t sector) const {
  int32_t track = firstTrack;
  for (int32_t candidate = firstTrack; candidate <= LastTrack(); ++candidate) {
    if (TrackStart(candidate) <= sector) track = candidate;
  }
  return track;
}

bool DiscLayout::Valid() const {
  if (trackStarts.empty() || audio.size() != trackStarts.size()) return false;
  if (firstTrack < 1 || LastTrack() > 99 || trackStarts.front() < 0) return false;
  for (size_t i = 1; i < trackStarts.size(); ++i) {
    if (trackStarts[i] <= trackStarts[i - 1]) return false;
  }
  return leadOut > trackStarts.back();
}

std::vector<SectorSpan> DiscLayout::AudioSpans(int32_t start, int32_t end) const {
  std::vector<SectorSpan> spans;
  for (int32_t track = firstTrack; track <= LastTrack(); ++track) {
    if (!IsAudio(track)) continue;
    const int32_t from = std::max(start, TrackStart(track));
    const int32_t to = std::min(end, TrackEnd(track));
    if (from >= to) continue;
    if (!spans.empty() && spans.back().end == from) {
      spans.back().end = to;
    } else {
      spans.push_back({from, to});
    }
  }
  return spans;
}

std::string FormatPosition(TimeFormat format, const DiscLayout& disc, int32_t sector) {
  switch (format) {
    case TimeFormat::Tmsf: {
      if (disc.TrackCount() == 0) return "00:00:00:00";
      const int32_t track = disc.TrackAt(sector);
      const int32_t offset = sector - disc.TrackStart(track);
      return TwoDigits(track) + ":" + Msf(offset < 0 ? 0 : offset);
    }
    case TimeFormat::Msf: return Msf(static_cast<int64_t>(sector) + kLeadInSectors);
    case TimeFormat::Milliseconds:
      return std::to_string((static_cast<int64_t>(sector) + kLeadInSectors) * 1000 /
                            kSectorsPerSecond);
  }
  return {};
}

std::string FormatLength(TimeFormat format, int32_t sectors) {
  if (format == TimeFormat::Milliseconds) {
    return std::to_string(static_cast<int64_t>(sectors) * 1000 / kSectorsPerSecond);
  }
  return Msf(sectors);
}

std::optional<int32_t> ParsePosition(TimeFormat format, const DiscLayout& disc,
                                     std::string_view text) {
  std::optional<int64_t> sector;
  if (format == TimeFormat::Milliseconds) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + (c - '0');
    }
    sector = value * kSectorsPerSecond / 1000 - kLeadInSectors;
  } else if (format == TimeFormat::Msf) {
    const auto fields = SplitFields(text, 3);
    if (!fields) return std::nullopt;
    const auto sectors = SectorsOf(*fields, 0);
    if (sectors) sector = static_cast<int64_t>(*sectors) - kLeadInSectors;
  } else {
    const auto fields = SplitFields(text, 4);
    if (!fields || !disc.HasTrack((*fields)[0])) return std::nullopt;
    const auto offset = SectorsOf(*fields, 1);
    const int32_t track = (*fields)[0];
    if (offset) sector = static_cast<int64_t>(disc.TrackStart(track)) + *offset;
  }
  if (!sector || disc.TrackCount() == 0) return std::nullopt;
  if (*sector < disc.trackStarts.front() || *sector > disc.leadOut) return std::nullopt;
  return static_cast<int32_t>(*sector);
}

}  // namespace vellora::shell::mci
