// The state of the application shell itself.
#include "app/shell.h"

HANDLE instanceMutex;
bool doubleClickPending;
int contextEntry;

int danceOffset = 0;
int danceStep = 2;
UINT_PTR danceTimer;
