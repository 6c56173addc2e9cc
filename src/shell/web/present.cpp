// The frame to the page's canvas: the software canvas's pixels, reordered for the browser.
//
// The canvas's ImageData wants the bytes R, G, B, A in memory order; the software canvas holds
// 0x00RRGGBB words, which in little-endian memory are B, G, R, 0. One pass swaps red and blue and
// makes every pixel opaque, into a buffer kept for the life of the page; putImageData then copies
// it straight from the WebAssembly memory.
#include <emscripten/emscripten.h>

#include "shell/web/web_shell.h"

namespace {

// The frame as the canvas takes it, kept so that a frame allocates nothing.
BackBuffer pageFrame;

constexpr uint32_t kOpaque = 0xFF000000u;

// 0x00RRGGBB to the word whose little-endian bytes are R, G, B, 255.
inline uint32_t ToCanvasOrder(Pixel p) {
  return kOpaque | (p & 0xFFu) << 16 | (p & 0xFF00u) | (p >> 16 & 0xFFu);
}

// The ImageData is a view on the WebAssembly memory; it is made anew only when the memory has
// grown (which replaces its buffer). (clang-format would split JavaScript's !== operator.)
// clang-format off
EM_JS(void, PutFrame, (const void* rgba, int width, int height), {
  var canvas = document.getElementById('scene');
  if (!canvas) return;
  var page = Module.page || (Module.page = {});
  if (!page.context) page.context = canvas.getContext('2d', {alpha: false});
  if (!page.image || page.image.data.buffer !== HEAPU8.buffer || page.imageAt !== rgba) {
    page.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4),
                               width, height);
    page.imageAt = rgba;
  }
  page.context.putImageData(page.image, 0, 0);
});
// clang-format on

}  // namespace

void ShowFrame(const BackBuffer& frame) {
  // A plain loop over the whole frame: the compiler turns it into WebAssembly SIMD.
  for (size_t i = 0; i < frame.size(); ++i)
    pageFrame[i] = ToCanvasOrder(frame[i]);
  PutFrame(pageFrame.data(), kSceneWidth, kSceneHeight);
}
