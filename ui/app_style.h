#pragma once

// The application's style and hint timing. InstallAppStyle puts the window's style
// (Fusion, with drop-down lists that open below the box, etched frames and the hint delay
// below) and the hint filter on the application once; SetHintTiming then sets the delay
// before a hint shows and the time it stays. With 0 the toolkit's own timing applies.
void InstallAppStyle();
void SetHintTiming(int pauseMs, int hidePauseMs);
int HintPauseMs();
int HintHidePauseMs();
