// Rows of pictures converted from 24-bit to 32-bit pixels several at a time: with SSSE3 byte
// shuffles where the processor has them (any x86-64 made since about 2008), else two pixels per
// 8-byte load. The colour-keyed sprite rows use the same shuffle and choose per pixel between
// canvas and picture. Compiled to WebAssembly with SIMD, the rows use its byte swizzle the same
// way. The background pass of every frame runs through here, for every pixel.
#include "shell/soft/pixel_rows.h"

#include <bit>
#include <cstring>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#endif
#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

namespace {

// Pure red, RGB(255, 0, 0), is the sprites' transparent colour; near reds are drawn.
bool IsColourKey(const unsigned char* bgr) {
  return bgr[0] == 0 && bgr[1] == 0 && bgr[2] == 255;
}

Pixel FromBgr(const unsigned char* bgr) {
  return PixelRgb(bgr[2], bgr[1], bgr[0]);
}

uint64_t LoadDoubleWord(const unsigned char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// Rows in plain C++: `count` pixels from 24-bit blue-green-red to 0x00RRGGBB, all of them
// (opaque) or all but pure red (keyed).
void CopyRowOpaquePlain(Pixel* dst, const unsigned char* src, int32_t count) {
  if constexpr (std::endian::native == std::endian::little) {
    // Two pixels a step from one 8-byte load (b0 g0 r0 b1 g1 r1 ..), stored as one 8-byte word.
    // At least three pixels remain at each load, so it never reads past the row's own bytes.
    constexpr uint64_t kLow = 0xFFFFFF, kHigh = kLow << 32;
    for (; count >= 3; count -= 2, src += 6, dst += 2) {
      const uint64_t w = LoadDoubleWord(src);
      const uint64_t pair = (w & kLow) | ((w << 8) & kHigh);
      std::memcpy(dst, &pair, sizeof pair);
    }
  }
  for (; count > 0; --count, src += 3)
    *dst++ = FromBgr(src);
}

void CopyRowKeyedPlain(Pixel* dst, const unsigned char* src, int32_t count) {
  for (; count > 0; --count, src += 3, ++dst) {
    if (!IsColourKey(src)) *dst = FromBgr(src);
  }
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__)) && \
    !defined(QUARVELINGDROME_PORTABLE_ROWS)
// The same rows with SSSE3, on processors that have it (checked at each row; the check is one
// load): a byte shuffle spreads four 3-byte pixels over four 4-byte ones.
#define QUARVELINGDROME_SSSE3_ROWS 1

// Bytes b g r of each pixel to the low three bytes of a 32-bit lane; the top byte becomes 0.
__attribute__((target("ssse3"))) __m128i SpreadMask() {
  return _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
}

__attribute__((target("ssse3"))) __m128i Load16(const void* p) {
  return _mm_loadu_si128(static_cast<const __m128i*>(p));
}

__attribute__((target("ssse3"))) void CopyRowOpaqueSsse3(Pixel* dst, const unsigned char* src,
                                                         int32_t count) {
  const __m128i spread = SpreadMask();
  // Sixteen pixels from 48 bytes: three loads, four shuffles, four stores.
  for (; count >= 16; count -= 16, src += 48, dst += 16) {
    const __m128i a = Load16(src), b = Load16(src + 16), c = Load16(src + 32);
    auto* out = reinterpret_cast<__m128i*>(dst);
    _mm_storeu_si128(out, _mm_shuffle_epi8(a, spread));
    _mm_storeu_si128(out + 1, _mm_shuffle_epi8(_mm_alignr_epi8(b, a, 12), spread));
    _mm_storeu_si128(out + 2, _mm_shuffle_epi8(_mm_alignr_epi8(c, b, 8), spread));
    _mm_storeu_si128(out + 3, _mm_shuffle_epi8(_mm_srli_si128(c, 4), spread));
  }
  // Four at a time while a 16-byte load stays within the row's 3 * count bytes.
  for (; count >= 6; count -= 4, src += 12, dst += 4)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_shuffle_epi8(Load16(src), spread));
  CopyRowOpaquePlain(dst, src, count);
}

__attribute__((target("ssse3"))) void CopyRowKeyedSsse3(Pixel* dst, const unsigned char* src,
                                                        int32_t count) {
  const __m128i spread = SpreadMask();
  const __m128i key = _mm_set1_epi32(static_cast<int>(PixelRgb(255, 0, 0)));
  // Four at a time: where a lane is pure red the canvas keeps its pixel, elsewhere the picture's.
  for (; count >= 6; count -= 4, src += 12, dst += 4) {
    auto* at = reinterpret_cast<__m128i*>(dst);
    const __m128i picture = _mm_shuffle_epi8(Load16(src), spread);
    const __m128i keyed = _mm_cmpeq_epi32(picture, key);
    const __m128i kept = _mm_and_si128(keyed, _mm_loadu_si128(at));
    _mm_storeu_si128(at, _mm_or_si128(kept, _mm_andnot_si128(keyed, picture)));
  }
  CopyRowKeyedPlain(dst, src, count);
}

bool HasSsse3() {
  return __builtin_cpu_supports("ssse3");
}
#endif

#if defined(__wasm_simd128__) && !defined(QUARVELINGDROME_PORTABLE_ROWS)
// The same rows with WebAssembly SIMD (the browser build, compiled with -msimd128): a byte
// swizzle spreads four 3-byte pixels over four 4-byte ones, as the SSSE3 shuffle does; an index
// out of range gives 0, as the shuffle's -1 does.
#define QUARVELINGDROME_WASM_SIMD_ROWS 1

v128_t WasmSpreadMask() {
  return wasm_i8x16_make(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
}

void CopyRowOpaqueWasm(Pixel* dst, const unsigned char* src, int32_t count) {
  const v128_t spread = WasmSpreadMask();
  // Sixteen pixels from 48 bytes: three loads, four swizzles, four stores.
  for (; count >= 16; count -= 16, src += 48, dst += 16) {
    const v128_t a = wasm_v128_load(src), b = wasm_v128_load(src + 16);
    const v128_t c = wasm_v128_load(src + 32);
    const v128_t ab =
        wasm_i8x16_shuffle(a, b, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27);
    const v128_t bc =
        wasm_i8x16_shuffle(b, c, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23);
    const v128_t cc =
        wasm_i8x16_shuffle(c, c, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 0, 0, 0);
    wasm_v128_store(dst, wasm_i8x16_swizzle(a, spread));
    wasm_v128_store(dst + 4, wasm_i8x16_swizzle(ab, spread));
    wasm_v128_store(dst + 8, wasm_i8x16_swizzle(bc, spread));
    wasm_v128_store(dst + 12, wasm_i8x16_swizzle(cc, spread));
  }
  // Four at a time while a 16-byte load stays within the row's 3 * count bytes.
  for (; count >= 6; count -= 4, src += 12, dst += 4)
    wasm_v128_store(dst, wasm_i8x16_swizzle(wasm_v128_load(src), spread));
  CopyRowOpaquePlain(dst, src, count);
}

void CopyRowKeyedWasm(Pixel* dst, const unsigned char* src, int32_t count) {
  const v128_t spread = WasmSpreadMask();
  const v128_t key = wasm_i32x4_splat(static_cast<int32_t>(PixelRgb(255, 0, 0)));
  // Four at a time: where a lane is pure red the canvas keeps its pixel, elsewhere the picture's.
  for (; count >= 6; count -= 4, src += 12, dst += 4) {
    const v128_t picture = wasm_i8x16_swizzle(wasm_v128_load(src), spread);
    const v128_t keyed = wasm_i32x4_eq(picture, key);
    wasm_v128_store(dst, wasm_v128_bitselect(wasm_v128_load(dst), picture, keyed));
  }
  CopyRowKeyedPlain(dst, src, count);
}
#endif

}  // namespace

void CopyRowOpaque(Pixel* dst, const unsigned char* src, int32_t count) {
#ifdef QUARVELINGDROME_WASM_SIMD_ROWS
  return CopyRowOpaqueWasm(dst, src, count);
#endif
#ifdef QUARVELINGDROME_SSSE3_ROWS
  if (HasSsse3()) return CopyRowOpaqueSsse3(dst, src, count);
#endif
  CopyRowOpaquePlain(dst, src, count);
}

void CopyRowKeyed(Pixel* dst, const unsigned char* src, int32_t count) {
#ifdef QUARVELINGDROME_WASM_SIMD_ROWS
  return CopyRowKeyedWasm(dst, src, count);
#endif
#ifdef QUARVELINGDROME_SSSE3_ROWS
  if (HasSsse3()) return CopyRowKeyedSsse3(dst, src, count);
#endif
  CopyRowKeyedPlain(dst, src, count);
}
