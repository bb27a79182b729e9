#include "aircraft/tform6.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include "app/centring.h"
#include "app/form1_state.h"
#include "platform/cp932.h"

namespace {

constexpr int kPatternBytes = 7;
constexpr int kRemarkBytes = 30;

// Refuses a text longer than its byte count in code page 932, so that a
// Japanese character counts two.
class Cp932LengthValidator : public QValidator {
 public:
  Cp932LengthValidator(size_t bytes, QObject* parent) : QValidator(parent), bytes_(bytes) {}
  State validate(QString& input, int&) const override {
    return platform::QStringToCp932(input).size() <= bytes_ ? Acceptable : Invalid;
  }

 private:
  size_t bytes_;
};

QLineEdit* MakeEdit(QWidget* parent, const char* name, size_t bytes, const QRect& geometry) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setValidator(new Cp932LengthValidator(bytes, edit));
  edit->setGeometry(geometry);
  return edit;
}

}  // namespace

TForm6::TForm6(Form1State& form) : SkarvelForm(form, 6) {
  setWindowTitle(QString::fromUtf8("登録航空機リスト編集"));
  setFixedSize(300, 112);
  auto* label1 = new QLabel(QString::fromUtf8("検索文字"), this);
  label1->setObjectName("Label1");
  label1->setGeometry(10, 12, 70, 20);
  auto* label2 = new QLabel(QString::fromUtf8("備　　　考"), this);
  label2->setObjectName("Label2");
  label2->setGeometry(10, 44, 70, 20);
  edit1_ = MakeEdit(this, "Edit1", kPatternBytes, QRect(84, 10, 90, 24));
  // Registrations and flights: no input method.
  edit1_->setAttribute(Qt::WA_InputMethodEnabled, false);
  edit3_ = MakeEdit(this, "Edit3", kRemarkBytes, QRect(84, 42, 206, 24));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName("Button1");
  ok->setGeometry(124, 78, 80, 26);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QString::fromUtf8("キャンセル"), this);
  cancel->setObjectName("Button2");
  cancel->setGeometry(210, 78, 80, 26);
  connect(ok, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm6::OpenForAdd() {
  editing_ = false;
  setWindowTitle(form_.app.UseEnglish ? QStringLiteral("Add aircraft search list")
                                      : QString::fromUtf8("登録航空機リスト新規追加"));
  edit1_->clear();
  edit3_->clear();
  exec();
}

void TForm6::OpenForEdit(int rowIndex) {
  const std::vector<SearchListRow>& rows = form_.watchList.Rows;
  if (rowIndex < 0 || rowIndex >= static_cast<int>(rows.size())) return;
  editing_ = true;
  EditRowIndex = rowIndex;
  setWindowTitle(form_.app.UseEnglish ? QStringLiteral("Edit aircraft search list")
                                      : QString::fromUtf8("登録航空機リスト編集"));
  edit1_->setText(platform::Cp932ToQString(rows[static_cast<size_t>(rowIndex)].Search));
  edit3_->setText(platform::Cp932ToQString(rows[static_cast<size_t>(rowIndex)].Remarks));
  exec();
}

void TForm6::Button1Click() {
  // Empty and repeated patterns are accepted.
  WatchList& w = form_.watchList;
  const std::string pattern = platform::QStringToCp932(edit1_->text());
  const std::string remark = platform::QStringToCp932(edit3_->text());
  if (editing_ && EditRowIndex < static_cast<int>(w.Rows.size())) {
    w.Rows[static_cast<size_t>(EditRowIndex)].Search = pattern;
    w.Rows[static_cast<size_t>(EditRowIndex)].Remarks = remark;
    if (w.Changed) w.Changed();
  } else if (!editing_) {
    AddSearchRow(w, pattern, remark);
  }
  SaveSearchList(w, form_.app.SearchCsvPath);
  accept();
}

void TForm6::PlaceAndFill() {
  if (QWidget* list = FindTopLevelWindow("Form2")) CentreOverWindow(*this, *list);
}
