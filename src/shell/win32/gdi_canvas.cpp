// The canvas operations on GDI: the wrapped background in two BitBlts, sprites by TransparentBlt
// with pure red as the key, labels by TextOutA in the device context's default font.
#include "shell/win32/gdi_canvas.h"

#include <cstring>

#include "shell/win32/win32_shell.h"

namespace {

constexpr COLORREF kColourKey = RGB(255, 0, 0);  // pure red: the sprites' transparent colour
constexpr COLORREF kLabelInk = RGB(255, 255, 255);
constexpr COLORREF kLabelBox = RGB(42, 46, 115);  // the sky's colour at the top of the scene

// A new bitmap made from picture resource `sprite`; the caller deletes it. Null for a number the
// program holds no picture for.
HBITMAP LoadPicture(SpriteId sprite) {
  return LoadBitmapA(appInstance, MAKEINTRESOURCEA(sprite));
}

SpriteSize PictureSize(HBITMAP picture) {
  BITMAP info{};
  if (GetObjectA(picture, sizeof info, &info) == 0) return {};
  return {info.bmWidth, info.bmHeight};
}

// The picture in spriteDc at its own size, top-left at (x, y), pure red left out.
void DrawKeyed(const FrameCanvas& canvas, SpriteSize size, int32_t x, int32_t y) {
  TransparentBlt(canvas.backDc, x, y, size.width, size.height, canvas.spriteDc, 0, 0, size.width,
                 size.height, kColourKey);
}

}  // namespace

void OpenFrameCanvas(FrameCanvas& canvas, HDC windowDc) {
  canvas.windowDc = windowDc;
  canvas.backDc = CreateCompatibleDC(windowDc);
  canvas.spriteDc = CreateCompatibleDC(windowDc);
  canvas.backBitmap = CreateCompatibleBitmap(windowDc, kSceneWidth, kSceneHeight);
  canvas.savedBitmap = SelectObject(canvas.backDc, canvas.backBitmap);
  canvas.batchPicture = nullptr;
  canvas.batchReplaced = nullptr;
  canvas.labelText[0] = '\0';
}

void Present(const FrameCanvas& canvas) {
  BitBlt(canvas.windowDc, 0, 0, kSceneWidth, kSceneHeight, canvas.backDc, 0, 0, SRCCOPY);
}

void ReleaseFrameCanvas(FrameCanvas& canvas) {
  SelectObject(canvas.backDc, canvas.savedBitmap);
  DeleteObject(canvas.backBitmap);
  DeleteDC(canvas.backDc);
  DeleteDC(canvas.spriteDc);
}

void DrawBackground(FrameCanvas& canvas, int32_t scrollOffset) {
  // Canvas column c shows picture column (c - s) mod 800: the picture's columns -s..799 go to the
  // left part, its columns 0..-s-1 to the right. At 0 and -800 one of the two copies is empty.
  const int32_t s = scrollOffset;
  HBITMAP picture = LoadPicture(IDB_BACKGROUND);
  HGDIOBJ replaced = SelectObject(canvas.spriteDc, picture);
  BitBlt(canvas.backDc, 0, 0, kSceneWidth + s, kSceneHeight, canvas.spriteDc, -s, 0, SRCCOPY);
  BitBlt(canvas.backDc, kSceneWidth + s, 0, -s, kSceneHeight, canvas.spriteDc, 0, 0, SRCCOPY);
  SelectObject(canvas.spriteDc, replaced);
  DeleteObject(picture);
}

SpriteSize DrawSprite(FrameCanvas& canvas, SpriteId sprite, int32_t x, int32_t y) {
  HBITMAP picture = LoadPicture(sprite);
  if (picture == nullptr) return {};  // a defective build: draw nothing, report 0 x 0
  HGDIOBJ replaced = SelectObject(canvas.spriteDc, picture);
  const SpriteSize size = PictureSize(picture);
  DrawKeyed(canvas, size, x, y);
  SelectObject(canvas.spriteDc, replaced);
  DeleteObject(picture);
  return size;
}

void OpenSpriteBatch(FrameCanvas& canvas, SpriteId sprite) {
  canvas.batchPicture = LoadPicture(sprite);
  canvas.batchReplaced =
      canvas.batchPicture != nullptr ? SelectObject(canvas.spriteDc, canvas.batchPicture) : nullptr;
}

void DrawSpriteBatch(FrameCanvas& canvas, int32_t x, int32_t y) {
  if (canvas.batchPicture == nullptr) return;
  DrawKeyed(canvas, PictureSize(canvas.batchPicture), x, y);  // the size is asked for anew
}

void CloseSpriteBatch(FrameCanvas& canvas) {
  if (canvas.batchPicture == nullptr) return;
  SelectObject(canvas.spriteDc, canvas.batchReplaced);
  DeleteObject(canvas.batchPicture);
  canvas.batchPicture = nullptr;
  canvas.batchReplaced = nullptr;
}

char* LabelText(FrameCanvas& canvas) {
  return canvas.labelText;
}

void DrawLabel(FrameCanvas& canvas, const char* text, int32_t x, int32_t y) {
  // Opaque background mode and the default font are the device context's own; neither changes.
  SetTextAlign(canvas.backDc, TA_CENTER | TA_TOP);
  SetTextColor(canvas.backDc, kLabelInk);
  SetBkColor(canvas.backDc, kLabelBox);
  TextOutA(canvas.backDc, x, y, text, static_cast<int>(std::strlen(text)));
}
