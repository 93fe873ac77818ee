#pragma once
// Tells the main window how to create each editing form of the program.
class CMainFrame;

void InstallFormFactories(CMainFrame& frame);
