// The side-bar picture's movement in the "Dancy" menu style, apart from its drawing.
#pragma once

const int DANCE_PICTURE_HEIGHT = 200;  // height of the side-bar picture
const int DANCE_TOP_OVERHANG = 55;     // how far the picture may leave the top edge before it turns
const int DANCE_START_STEP = 2;

// One tick: moves the picture by step, turning at the bottom edge of a menu of `height` pixels and
// when 55 pixels of it have left the top.
void AdvanceDance(int *offset, int *step, int height);
