// The program's resources addressed by number, as the Linux build and the tests hold them.
//
// A picture is stored as a Windows bitmap resource holds it: the 40-byte header followed by 24-bit
// bottom-up rows padded to 4 bytes (no 14-byte file header). A sound is a whole RIFF WAVE image.
// The Linux build generates its table from res/ (cmake/embed_resources.cmake); tests build small
// tables of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

enum class ResourceKind : uint8_t { Bitmap, Wave };

struct ResourceEntry {
  uint16_t id;
  ResourceKind kind;
  const unsigned char* data;
  size_t size;
};

using ResourceTable = std::span<const ResourceEntry>;

// The bytes of resource `id` of the given kind, or an empty span when the table has none.
inline std::span<const unsigned char> LookUpResource(ResourceTable table, uint16_t id,
                                                     ResourceKind kind) {
  for (const ResourceEntry& entry : table) {
    if (entry.id == id && entry.kind == kind) return {entry.data, entry.size};
  }
  return {};
}

// The game's own resources, generated from res/ by the build (game_resources.cpp).
extern const ResourceTable kGameResources;
