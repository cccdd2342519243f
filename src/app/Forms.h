#pragma once

// The program's windows are process-wide objects, each created on first use. These end them.

// Ends the program at once: every window closes, nothing is saved and nothing is asked.
void quitProgram();

// Destroys every window that exists, without asking anything. main runs it after the event
// loop ends; tests run it between cases.
void unloadAllForms();
