// The fog tunnel: five copies of a square box segment textured with the desktop snapshot, seen
// from a camera that rolls about its axis and creeps forward, in pale blue-white fog.
#pragma once

#include <cstdint>
#include <string>

#include "render_platform.h"
#include "scene.h"

namespace vellora::renderer {

inline constexpr const char* kSnapshotFileName = "Vellora.bmp";

class FogTunnelScene final : public Scene {
 public:
  // InitScene reads the snapshot "Vellora.bmp" from the snapshot folder that FindDataFolders
  // (data_folder.h) gives for the executable's folder: beside the executable when the user can
  // write there, otherwise the user's own.
  explicit FogTunnelScene(ProcessServices& services) : services_(services) {}
  // The tunnel of another monitor, over that monitor's own snapshot file in the same folder.
  // A file that cannot be used there is not reported: that tunnel's walls stay plain.
  FogTunnelScene(ProcessServices& services, std::string monitorSnapshotFileName)
      : services_(services), snapshotFileName_(std::move(monitorSnapshotFileName)), snapshotRequired_(false) {}

  void ResizeScene(int32_t width, int32_t height) override;
  void InitScene() override;
  void DrawScene(int64_t animClock) override;

  // The GL state and geometry without the snapshot file, for a texture already bound.
  void InitSceneWithTexture(uint32_t texture);

  const std::string& SnapshotPath() const { return snapshotPath_; }

 private:
  void InitGlState();
  void BuildTunnelSegment();
  void InitFog();

  ProcessServices& services_;
  std::string snapshotFileName_ = kSnapshotFileName;
  bool snapshotRequired_ = true;
  std::string snapshotPath_;
  uint32_t segmentList_ = 0;
  uint32_t snapshotTexture_ = 0;
};

inline constexpr float kFogDensity = 0.6f;
inline constexpr float kFogColour[4] = {0.9f, 0.9f, 1.0f, 0.0f};
inline constexpr float kClearColour[4] = {0.8f, 0.8f, 0.9f, 0.0f};

}  // namespace vellora::renderer
