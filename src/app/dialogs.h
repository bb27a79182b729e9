#pragma once
// Creates the dialogs TForm2 .. TForm31 (there is no TForm27) in the order
// of their class numbers, hidden, after the main window.
class TForm1;

void CreateDialogs(TForm1& mainWindow);
