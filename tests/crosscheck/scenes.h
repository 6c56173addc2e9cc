// World states drawn by both frame canvases, the GDI one under Wine and the software one natively,
// so that their frames can be compared pixel by pixel: scroll offsets, sprites at every edge and
// beyond, and a busy frame.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "game/world.h"

struct Scene {
  const char* name;
  void (*build)(GameWorld& world);  // after ResetWorld, with the clock standing still
};

std::span<const Scene> CrossCheckScenes();

// Resets the world with the clock standing at a fixed tick, builds the scene, and leaves the
// clock late enough that every enemy of the roster is due.
void BuildScene(const Scene& scene, GameWorld& world);

// A label that the frame of a world will draw: the text, its centre x and its top y.
struct SceneLabel {
  std::string text;
  int32_t x;
  int32_t y;
};

// The labels the frame just run on this world has drawn, in order: the boss's hit points while
// it is on stage, then the score. Called after RunFrame, since the score label shows the hits of
// its own frame; the scenes keep the boss holding still and the score off 300, so nothing else
// has moved since. Their boxes are left out of the comparison: the two canvases draw labels in
// different fonts.
std::vector<SceneLabel> SceneLabels(const GameWorld& world);

// The raw frame files the two programs exchange: 800 x 600 pixels, 0x00RRGGBB, rows top-down,
// little-endian 32-bit words; and the label boxes, one "left top right bottom" line each.
std::string FramePath(const std::string& dir, const Scene& scene, const char* canvas);
std::string LabelBoxPath(const std::string& dir, const Scene& scene, const char* canvas);
