#pragma once
// The English captions and hints of every window, assigned once at the
// first show when English is chosen.
class TForm1;

void SetEnglishTexts(TForm1& mainWindow);
