// The GDI frame canvas: one frame composed in an 800 x 600 memory bitmap, then copied to the
// window in one BitBlt.
//
// Nothing survives a frame: both memory device contexts and the back buffer are made when the
// canvas opens and freed when it is released, and every picture is loaded from the program's
// resources at the moment it is drawn and deleted right after.
#pragma once

#include <windows.h>

#include "game/platform.h"

struct FrameCanvas {
  HDC windowDc;          // the paint device context; used, not owned
  HDC backDc;            // everything is drawn here
  HBITMAP backBitmap;    // the back buffer, selected into backDc for the canvas's whole life
  HGDIOBJ savedBitmap;   // what backDc held before backBitmap
  HDC spriteDc;          // holds one picture during a draw or an open SpriteBatch
  HBITMAP batchPicture;  // the picture of the open SpriteBatch; null if none could be loaded
  HGDIOBJ batchReplaced;
  char labelText[kLabelTextSize];
};

// Opens a canvas on the window's paint device context: two memory device contexts compatible
// with it and an 800 x 600 back buffer in its pixel format.
void OpenFrameCanvas(FrameCanvas& canvas, HDC windowDc);

// Copies the whole frame to windowDc's origin in one BitBlt; the device context clips.
void Present(const FrameCanvas& canvas);

// Frees what OpenFrameCanvas made: the old bitmap back into backDc, the back buffer, backDc,
// then spriteDc.
void ReleaseFrameCanvas(FrameCanvas& canvas);
