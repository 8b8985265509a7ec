#pragma once
// The program's start: everything between making the application object and running its loop.

class TFVelmoraeFirmWare;

// Installs the design fonts, creates the windows in their fixed order, registers the generators
// and shows the main window, which it returns. Needs a running QApplication; called once.
TFVelmoraeFirmWare* StartProgram();
