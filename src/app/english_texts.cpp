#include "app/english_texts.h"

void SetEnglishTexts(TForm1&) {}
