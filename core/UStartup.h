#pragma once
// The program's start: everything between making the application object and running its loop.

class TFVelmoraeFirmWare;

// Installs the design fonts, creates the main window (its create handler runs at once), leaves
// every other window to be made when it is first needed, registers the generators and shows the
// main window, which it returns. Needs a running QApplication; called once per main window.
TFVelmoraeFirmWare* StartProgram();
