#include "support/ascii_copy.h"
#include <emmintrin.h>
#include <windows.h>
#include <cstdint>
#include <cstring>

namespace {
// Every processor that runs WebView2 has SSE2, but the plug-in is built for the oldest x86
// and asks once.
const bool kHasSse2 = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != 0;

// Sixteen units per step: two 8-unit loads tested together against 0xFF80 and packed into one store.
__attribute__((target("sse2"))) bool NarrowAsciiSse2(const wchar_t* text, size_t length, char* out) {
  const __m128i notAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
  size_t i = 0;
  for (; i + 16 <= length; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + 8));
    const __m128i clear = _mm_cmpeq_epi16(_mm_and_si128(_mm_or_si128(a, b), notAscii), _mm_setzero_si128());
    if (_mm_movemask_epi8(clear) != 0xFFFF) return false;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(a, b));
  }
  return NarrowAsciiPortable(text + i, length - i, out + i);
}

// Sixteen bytes per step: one load whose top bits must all be clear, widened by interleaving with zero.
__attribute__((target("sse2"))) bool WidenAsciiSse2(const char* text, size_t length, wchar_t* out) {
  const __m128i zero = _mm_setzero_si128();
  size_t i = 0;
  for (; i + 16 <= length; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    if (_mm_movemask_epi8(a) != 0) return false;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(a, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(a, zero));
  }
  return WidenAsciiPortable(text + i, length - i, out + i);
}
}  // namespace

// Four units per step: two 32-bit words tested together and packed into one 32-bit store, so
// that the loop keeps to registers (x86 is little-endian: the low half is the first unit).
bool NarrowAsciiPortable(const wchar_t* text, size_t length, char* out) {
  size_t i = 0;
  for (; i + 4 <= length; i += 4) {
    uint32_t lo, hi;
    std::memcpy(&lo, text + i, 4);
    std::memcpy(&hi, text + i + 2, 4);
    if ((lo | hi) & 0xFF80FF80u) return false;
    const uint32_t packed = (lo & 0xFFu) | ((lo >> 8) & 0xFF00u) | ((hi & 0xFFu) << 16) | ((hi << 8) & 0xFF000000u);
    std::memcpy(out + i, &packed, 4);
  }
  for (; i < length; ++i) {
    const unsigned unit = static_cast<unsigned>(text[i]);
    if (unit >= 0x80) return false;
    out[i] = static_cast<char>(unit);
  }
  return true;
}

bool WidenAsciiPortable(const char* text, size_t length, wchar_t* out) {
  for (size_t i = 0; i < length; ++i) {
    const unsigned char unit = static_cast<unsigned char>(text[i]);
    if (unit >= 0x80) return false;
    out[i] = static_cast<wchar_t>(unit);
  }
  return true;
}

bool NarrowAscii(const wchar_t* text, size_t length, char* out) {
  return kHasSse2 ? NarrowAsciiSse2(text, length, out) : NarrowAsciiPortable(text, length, out);
}

bool WidenAscii(const char* text, size_t length, wchar_t* out) {
  return kHasSse2 ? WidenAsciiSse2(text, length, out) : WidenAsciiPortable(text, length, out);
}
