#pragma once

// The program's private window messages; all carry wParam 0.
namespace quillet {

inline constexpr unsigned UM_START_SCAN = 0x2409;         // progress dialog → itself: start the scan thread
inline constexpr unsigned UM_ACTIVATE_INSTANCE = 0x2410;  // second instance → main window: come to the front
inline constexpr unsigned UM_CLEAN_ONCE = 0x2411;         // main window → itself: the unattended run
inline constexpr unsigned UM_RESTORE_POINT_DONE = 0x2412; // restore-point thread → its dialog; lParam 0 or 1
inline constexpr unsigned UM_UPDATE_COUNTS = 0x2413;      // after each category → main window: refresh the counts
// Scan thread → progress dialog: reports are queued for the GUI thread.
inline constexpr unsigned UM_SCAN_HAND_OVER = 0x2414;

}  // namespace quillet
