#pragma once
#include "media/TImage.h"

// The look of a dialog window: a frame cut from one picture of 3×3 parts
// (corners, edges and centre) that tiles to any size, and up to four
// ornaments centred on its edges. Dialogs, and tools that show how a dialog
// will look, draw it with DrawDialogFrame.
struct DialogFrame {
    ImagePtr Image;  // 9 frames: the parts row by row, top-left first
    int Tile_Width = 0, Tile_Height = 0;
    ImagePtr Tile_Up, Tile_Down, Tile_Left, Tile_Right;
};

// Cuts `source` (frame 0) into the nine parts, each a third of its size
// (rounded down). A null or too small source gives a frame without parts.
void SetDialogFrameImage(DialogFrame& frame, const ImagePtr& source);

// Draws the frame of a dialog of width × height whose top-left corner is at
// screen position (x, y). The corners are placed relative to the current
// origin, which the caller sets to the dialog's top-left corner (the widget
// manager does, shake included); the tiled edges, the centre and the
// ornaments are anchored at (x, y) itself. The drawing state is restored.
void DrawDialogFrame(const DialogFrame& frame, float x, float y, int width, int height);
