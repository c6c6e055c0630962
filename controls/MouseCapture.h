#pragma once

// Ends the application's mouse grab, whichever widget holds it. Our controls share the grab
// as one resource of the user-interface thread, the way the classic capture works.
void releaseMouseCapture();
