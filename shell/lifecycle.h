#pragma once
// How the program ends, whatever asks for it:
// - "Sair", the close box and the start-up checks close the main form, which
//   ends the event loop; main() then ends in order: forms, data module
//   (connections committed and closed), Firebird's engine.
// - SIGTERM, SIGINT and SIGHUP (a session logout, Ctrl+C, a closed terminal)
//   ask for the same end once the event loop sees them; a long operation that
//   is running stops first and rolls its work back.
// - A lost display makes Qt's platform plugin call exit() from inside the
//   event dispatch. The exit guard then closes the connections (undoing a long
//   operation's half-done work) and the engine, and ends the process at once,
//   without running window destructors in a dispatch that is already dead.
// Every path is bounded: a watchdog ends the process if an end hangs.

namespace talvera::shell {

// Signals end the program through widgets::requestProgramEnd. Needs the QApplication.
void installSignalHandling();
// Guards the ends that do not return from main() (exit() called inside the program).
void installExitGuard();
// The orderly end after the event loop has returned.
void endInOrder();

} // namespace talvera::shell
