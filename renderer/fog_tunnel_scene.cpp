#include "fog_tunnel_scene.h"

#include "data_folder.h"
#include "gl_api.h"
#include "snapshot_texture.h"
#include "tunnel_path.h"

namespace vellora::renderer {
namespace {

struct TexturedVertex {
  float s, t;
  float x, y, z;
};

// One 4-unit segment, open at x = -2: side walls, ceiling, floor and the end wall at x = +2.
// The long walls show the snapshot twice along their length, the end wall once.
constexpr TexturedVertex kSegmentQuads[5][4] = {
    {{0, 0, -2, -1, 1}, {2, 0, 2, -1, 1}, {2, 1, 2, 1, 1}, {0, 1, -2, 1, 1}},          // z = +1
    {{2, 0, -2, -1, -1}, {2, 1, -2, 1, -1}, {0, 1, 2, 1, -1}, {0, 0, 2, -1, -1}},      // z = -1
    {{0, 1, -2, 1, -1}, {0, 0, -2, 1, 1}, {2, 0, 2, 1, 1}, {2, 1, 2, 1, -1}},          // ceiling
    {{2, 1, -2, -1, -1}, {0, 1, 2, -1, -1}, {0, 0, 2, -1, 1}, {2, 0, -2, -1, 1}},      // floor
    {{0, 0, 2, -1, -1}, {1, 0, 2, -1, 1}, {1, 1, 2, 1, 1}, {0, 1, 2, 1, -1}},          // end wall
};

}  // namespace

void FogTunnelScene::ResizeScene(int32_t width, int32_t height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 0.1, 500.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void FogTunnelScene::InitGlState() {
  glClearColor(kClearColour[0], kClearColour[1], kClearColour[2], kClearColour[3]);
  glShadeModel(GL_FLAT);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.4f);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_TEXTURE_2D);
}

void FogTunnelScene::BuildTunnelSegment() {
  segmentList_ = glGenLists(1);
  glNewList(segmentList_, GL_COMPILE);
  glBegin(GL_QUADS);
  for (const auto& quad : kSegmentQuads) {
    for (const TexturedVertex& v : quad) {
      glTexCoord2f(v.s, v.t);
      glVertex3f(v.x, v.y, v.z);
    }
  }
  glEnd();
  glEndList();
}

void FogTunnelScene::InitFog() {
  glFogi(GL_FOG_MODE, GL_EXP);
  glFogf(GL_FOG_DENSITY, kFogDensity);
  glFogfv(GL_FOG_COLOR, kFogColour);
  glEnable(GL_FOG);
}

void FogTunnelScene::InitScene() {
  InitGlState();
  DataFolderProbes& probes = services_.FolderProbes();
  const DataFolders folders = FindDataFolders(probes, services_.ExecutableFolder());
  // No snapshot folder: the shell saved nothing, and loading the empty path fails as a
  // missing file does.
  snapshotPath_ = folders.snapshot.empty() ? std::string()
                                           : FileInFolder(probes.Convention(), folders.snapshot, snapshotFileName_);
  snapshotTexture_ = snapshotRequired_ ? CreateSnapshotTexture(snapshotPath_, services_)  // stays bound
                                       : CreateSnapshotTextureIfReadable(snapshotPath_, services_);
  BuildTunnelSegment();
  InitFog();
}

void FogTunnelScene::InitSceneWithTexture(uint32_t texture) {
  InitGlState();
  snapshotTexture_ = texture;
  glBindTexture(GL_TEXTURE_2D, texture);
  BuildTunnelSegment();
  InitFog();
}

void FogTunnelScene::DrawScene(int64_t animClock) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glRotatef(CameraRollDegrees(animClock), 0.0f, 0.0f, 1.0f);
  glRotatef(90.0f, 0.0f, 1.0f, 0.0f);  // look along +x, the tunnel's axis
  // The copies' forward steps are taken off the camera's travel rather than added to the
  // copies, so no coordinate grows with the clock.
  glTranslatef(-CameraTravelPastOffset(animClock), 0.0f, 0.0f);

  for (int i = 1; i <= kSegmentCopies; ++i) {
    glPushMatrix();
    glTranslatef(kSegmentLength * static_cast<float>(i), 0.0f, 0.0f);
    glCallList(segmentList_);
    glPopMatrix();
  }
}

}  // namespace vellora::renderer
