// The pump-driven game window: creation, ticks and paints (see game_loop.h).
#include "shell/pump/game_loop.h"

#include "game/events.h"
#include "game/frame.h"

void OpenGameLoop(GameLoop& loop, GameWorld& world, ResourceTable resources, uint64_t now) {
  loop.world = &world;
  loop.resources = resources;
  ResetWorld(world);
  SetPumpTimers(loop.pump, now);
  LevelFlightLoop(world);
  RequestLoopRepaint(loop);
}

void RequestLoopRepaint(GameLoop& loop) {
  if (!loop.minimised) RequestRepaint(loop.pump);
}

void SpaceKeyDown(GameLoop& loop, bool altHeld) {
  if (!altHeld) FireBullet(*loop.world);  // no repaint request: the next tick's paint shows it
}

LoopStep StepGameLoop(GameLoop& loop, uint64_t now, ArrowKeys held) {
  const PumpStep step = NextPumpStep(loop.pump, now);
  switch (step.kind) {
    case PumpStepKind::Paint:
      return {LoopStepKind::Paint, now};
    case PumpStepKind::ControlsTick:
      PollControls(*loop.world, held);
      RequestLoopRepaint(loop);
      return {LoopStepKind::Tick, now};
    case PumpStepKind::ScrollTick:
      ScrollBackground(*loop.world);
      RequestLoopRepaint(loop);
      return {LoopStepKind::Tick, now};
    case PumpStepKind::Wait:
      break;
  }
  return {LoopStepKind::Wait, step.waitUntil};
}

void PaintGameFrame(GameLoop& loop, BackBuffer& backBuffer) {
  FrameCanvas canvas;
  OpenFrameCanvas(canvas, loop.resources, backBuffer);
  RunFrame(*loop.world, canvas);
  ReleaseFrameCanvas(canvas);
  ++loop.frames;
}
