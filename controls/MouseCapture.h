#pragma once

// Ends the application's mouse grab, whichever widget holds it. The grab is one resource of
// the user-interface thread, the way the classic capture is: a grab left held by a window
// under a message box would take every click meant for the box.
void releaseMouseCapture();
