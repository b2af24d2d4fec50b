#pragma once

class QElapsedTimer;

namespace quenyx::shell {

class frmMain;

// What the environment may ask of a running console besides its machine, for benchmarks and screenshots:
//   QUENYX_STARTUP_TIME=1     print "startup-ms: N" (from the program's start) once the window is idle, then quit;
//   QUENYX_SCREENSHOT=FILE    save the window as a PNG once it is up, then quit; QUENYX_SCREENSHOT_VIEW
//                             (settings, printers or cluster) chooses that view first;
//   QUENYX_TEXTS=FILE         once the window is idle, write the texts it shows (title, menu bar, labels,
//                             buttons, list headers), one a line in UTF-8, and keep running.
void InstallConsoleProbes(frmMain& window, const QElapsedTimer& sinceStart);

} // namespace quenyx::shell
