// Win32 + WGL backend of the renderer: the "OpenGL" window class, a popup window and a WGL context.
#pragma once

#include <windows.h>

#include "../../render_platform.h"

namespace vellora::renderer {

class Win32RenderPlatform final : public RenderPlatform {
 public:
  Win32RenderPlatform();

  void ShowMessageBox(const std::string& caption, const std::string& text) override;
  [[noreturn]] void ExitProcess(int code) override;
  std::string ExecutableFolder() override;
  DataFolderProbes& FolderProbes() override;

  bool RegisterWindowClass() override;
  void UnregisterWindowClass() override;
  ScreenMetrics QueryScreenMetrics() override;

  bool CreateRenderWindow(const std::string& title, int32_t x, int32_t y, int32_t width, int32_t height,
                          WindowEventHandler& handler) override;
  bool HasWindow() const override { return window_ != nullptr; }
  void DestroyRenderWindow() override;

  bool AcquireDeviceContext() override;
  bool HasDeviceContext() const override { return deviceContext_ != nullptr; }
  void ReleaseDeviceContext() override;
  int ChoosePixelFormat() override;
  bool SetPixelFormat(int format) override;

  bool CreateGLContext() override;
  bool MakeContextCurrent() override;
  bool DetachContext() override;
  void DeleteGLContext() override;

  void StartTimer(uint32_t id, uint32_t intervalMs) override;
  void ShowAndFocusWindow() override;
  void SetWindowTitle(const std::string& title) override;

  PumpResult PumpOneMessage() override;
  void PostQuit() override;

  void SwapBuffers() override;
  std::vector<MonitorRect> Monitors() override;
  std::unique_ptr<MonitorWindow> OpenMonitorWindow(const std::string& title, const MonitorRect& area,
                                                   WindowEventHandler& handler) override;
  bool MakeRenderContextCurrent() override;
  std::optional<ScreenPoint> CursorPosition() override;
  void ShowCursor(bool show) override;
  uint64_t TickCount() override;

 private:
  class Win32MonitorWindow;
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  HDC deviceContext_ = nullptr;
  HGLRC renderingContext_ = nullptr;
};

}  // namespace vellora::renderer
