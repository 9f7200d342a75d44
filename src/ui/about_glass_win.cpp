#include "ui/about_glass.h"

#include <QWidget>

#include <windows.h>

namespace tarvola::ui {

namespace {

// The layouts of dwmapi's DWM_BLURBEHIND and MARGINS; the library is loaded at run time.
struct TBlurBehind {
  DWORD Flags;
  BOOL Enable;
  HRGN BlurRegion;
  BOOL TransitionOnMaximized;
};
struct TFrameMargins {
  int Left, Right, Top, Bottom;
};
constexpr DWORD BlurEnableAndRegion = 3;

template <typename TFunction>
TFunction Lookup(HMODULE library, const char* name) {
  return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

int EnableBlurBehind(QWidget* window, const QRect& region) {
  HMODULE library = LoadLibraryW(L"dwmapi.dll");
  if (library == nullptr) return -1;
  using TEnableBlur = HRESULT(WINAPI*)(HWND, const TBlurBehind*);
  const auto enableBlur = Lookup<TEnableBlur>(library, "DwmEnableBlurBehindWindow");
  if (enableBlur == nullptr) {
    FreeLibrary(library);
    return -1;
  }
  HRGN blurRegion = CreateRectRgn(region.left(), region.top(), region.right() + 1, region.bottom() + 1);
  const TBlurBehind blur{BlurEnableAndRegion, TRUE, blurRegion, FALSE};
  const HRESULT result = enableBlur(reinterpret_cast<HWND>(window->winId()), &blur);
  DeleteObject(blurRegion);
  FreeLibrary(library);
  return static_cast<int>(result);
}

void SetGlassFrame(QWidget* window, bool enabled, const QMargins& margins) {
  HMODULE library = LoadLibraryW(L"dwmapi.dll");
  if (library == nullptr) return;
  using TExtendFrame = HRESULT(WINAPI*)(HWND, const TFrameMargins*);
  const auto extendFrame = Lookup<TExtendFrame>(library, "DwmExtendFrameIntoClientArea");
  if (extendFrame != nullptr) {
    const TFrameMargins frame = enabled ? TFrameMargins{margins.left(), margins.right(), margins.top(), margins.bottom()}
                                        : TFrameMargins{0, 0, 0, 0};
    extendFrame(reinterpret_cast<HWND>(window->winId()), &frame);
  }
  FreeLibrary(library);
}

}  // namespace tarvola::ui
