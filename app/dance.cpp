// The side-bar picture's movement: a bounce between the menu's bottom edge and 55 pixels above its top.
#include "app/dance.h"

void AdvanceDance(int *offset, int *step, int height)
{
    *offset += *step;
    if (*offset > height - DANCE_PICTURE_HEIGHT) {
        *offset = height - DANCE_PICTURE_HEIGHT;
        *step = -*step;
    }
    if (*offset <= -DANCE_TOP_OVERHANG)
        *step = -*step;
}
