#pragma once
// The English captions and hints of every window, assigned once at the
// first show when English is chosen. The Japanese texts are the windows'
// own; each entry names its control by its designer name.
#include <cstddef>

class QObject;
class TForm1;

// What an entry writes, by the kind of control: a caption goes to a label's
// or button's text, a group box's title or a window's title; a hint to the
// tool tip; a column to the list's header item; a file dialog gets its title
// and its name filter.
enum class TextProperty { Caption, Hint, Column, DialogTitle, DialogFilter };

struct EnglishText {
  int form;          // 1 the main window, else TFormN
  const char* name;  // designer name; empty: the window itself
  TextProperty property;
  const char* text;
};

// In the order of assignment: the main window, then the dialogs.
const EnglishText* EnglishTextTable(size_t& count);

// The control an entry writes, or null while it does not exist (its window
// is not built yet).
QObject* FindEnglishTextTarget(TForm1& mainWindow, const EnglishText& entry);

void SetEnglishTexts(TForm1& mainWindow);
