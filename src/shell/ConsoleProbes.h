#pragma once

class QElapsedTimer;

namespace quenyx::shell {

class frmMain;

// What the environment may ask of a running console besides its machine, for benchmarks and screenshots:
//   QUENYX_STARTUP_TIME=1     print "startup-ms: N peak-kib: K" (from the program's start; the peak memory where
//                             the system tells it, else -1) once the window has painted for the first time, then
//                             end at once;
//   QUENYX_VIEW_TIME=VIEW     once the window has painted, choose VIEW (printers or settings) as its entry's
//                             click does, print "view-ms: N peak-kib: K" (from the click) once the list has
//                             painted, then end;
//   QUENYX_VIEW_CLICK=VIEW    once the window has painted, print "ready: X Y" (the screen point of VIEW's
//                             navigation entry: printers or settings) and wait for a click there; once the
//                             list has painted with its rows, print "view-painted-ns: T" (the steady clock)
//                             and end, so that whoever clicked times the whole way from the click;
//   QUENYX_SCREENSHOT=FILE    save the window as a PNG once it is up, then quit; QUENYX_SCREENSHOT_VIEW
//                             (settings, printers or cluster) chooses that view first;
//   QUENYX_TEXTS=FILE         once the window is idle, write the texts it shows (title, menu bar, labels,
//                             buttons, list headers), one a line in UTF-8, and keep running;
//   QUENYX_LAYOUT=FILE        keep FILE holding, as one line of JSON, every shown window with its named controls,
//                             menu titles and entries and visible list rows: their texts, screen rectangles and
//                             states, and the focused control; the file is replaced whole on every change.
void InstallConsoleProbes(frmMain& window, const QElapsedTimer& sinceStart);

} // namespace quenyx::shell
