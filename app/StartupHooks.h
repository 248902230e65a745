// Hooks for scripted runs of the real program (tests, screenshots), read from
// the environment; without the variables nothing happens.
//   QUEXO_TEST_QUIT_AFTER_MS=N  close the main window N ms after the message
//                               loop starts, as the user would (window state,
//                               save questions, settings at exit)
//   QUEXO_TEST_GRAB=FILE.png    just before that, save a picture of the window
#pragma once

void InstallStartupHooks();
