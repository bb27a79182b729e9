#include "hfdl/tform23.h"

#include <QPlainTextEdit>

#include "app/form1_state.h"
#include "platform/cp932.h"

TForm23::TForm23(Form1State& form) : SkarvelForm(form, 23) {
  setWindowTitle(QString::fromUtf8("HFDLシステムテーブル"));
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
  setFixedSize(403, 481);
  memo1_ = new QPlainTextEdit(this);
  memo1_->setObjectName("Memo1");
  memo1_->setGeometry(8, 8, 385, 465);
  memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  form.hfdl.SystemTableText.Changed = [this] { ShowLines(); };
  LoadSystemTableText(form.hfdl);
}

TForm23::~TForm23() { form_.hfdl.SystemTableText.Changed = nullptr; }

void TForm23::ShowLines() {
  std::string text;
  for (const std::string& line : form_.hfdl.SystemTableText.Lines) {
    if (!text.empty()) text += '\n';
    text += line;
  }
  memo1_->setPlainText(platform::Cp932ToQString(text));
}
