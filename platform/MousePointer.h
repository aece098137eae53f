#pragma once

// The application-wide mouse pointer: the hourglass while a long operation
// runs, the default otherwise. Setting the pointer it already shows does
// nothing, so a failure handler may reset it unconditionally.
enum class MousePointer { Default = 0, Hourglass = 11 };

void SetMousePointer(MousePointer pointer);
MousePointer CurrentMousePointer();
