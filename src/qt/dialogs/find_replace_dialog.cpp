#include "qt/dialogs/find_replace_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "qt/dialogs/search_text_field.h"

namespace propdesk {
namespace {

// Layout in dialog units: the fields end where the button column begins.
constexpr int kFieldX = 70;
constexpr int kFieldWidth = 140;
constexpr int kButtonX = 216;
constexpr int kButtonWidth = 66;
constexpr int kButtonHeight = 14;
constexpr int kDialogWidth = kButtonX + kButtonWidth + 6;
constexpr int kFindHeight = 62;
constexpr int kReplaceHeight = 76;

}  // namespace

FindReplaceDialog::FindReplaceDialog(FindReplaceKind kind, SearchState& state, QWidget* owner)
    : TemplateDialog(owner, kind == FindReplaceKind::Find ? QStringLiteral("検索") : QStringLiteral("置換"),
                     kDialogWidth, kind == FindReplaceKind::Find ? kFindHeight : kReplaceHeight),
      kind_(kind),
      state_(state) {
  setModal(false);
  const bool find = kind == FindReplaceKind::Find;
  // Created in tab order.
  findWhat_ = AddField(QStringLiteral("検索する文字列(&N):"), "findWhat", 7);
  if (!find) replaceWith_ = AddField(QStringLiteral("置換後の文字列(&P):"), "replaceWith", 24);

  matchCase_ = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);
  matchCase_->setObjectName(QStringLiteral("matchCase"));
  Place(matchCase_, 5, find ? 42 : 58, 118, 12);
  if (find) AddDirection();

  findNext_ = AddButton(QStringLiteral("次を検索(&F)"), "findNext", 5);
  findNext_->setDefault(true);
  connect(findNext_, &QPushButton::clicked, this, [this] { Press(FR_FINDNEXT); });
  if (!find) {
    replace_ = AddButton(QStringLiteral("置換して次に(&R)"), "replace", 22);
    connect(replace_, &QPushButton::clicked, this, [this] { Press(FR_REPLACE); });
    replaceAll_ = AddButton(QStringLiteral("すべて置換(&A)"), "replaceAll", 39);
    connect(replaceAll_, &QPushButton::clicked, this, [this] { Press(FR_REPLACEALL); });
  }
  auto* cancel = AddButton(QStringLiteral("キャンセル"), "cancel", find ? 23 : 56);
  connect(cancel, &QPushButton::clicked, this, &FindReplaceDialog::reject);

  connect(findWhat_, &QLineEdit::textChanged, this, &FindReplaceDialog::UpdateButtons);
  ShowState();
  findWhat_->setFocus();
  findWhat_->selectAll();
}

SearchTextField* FindReplaceDialog::AddField(const QString& label, const char* name, int y) {
  auto* caption = new QLabel(label, this);
  Place(caption, 5, y + 2, 64, 8);
  auto* field = new SearchTextField(this);
  field->setObjectName(QLatin1String(name));
  Place(field, kFieldX, y, kFieldWidth, 12);
  caption->setBuddy(field);
  return field;
}

void FindReplaceDialog::AddDirection() {
  auto* group = new QGroupBox(QStringLiteral("方向"), this);
  group->setObjectName(QStringLiteral("direction"));
  Place(group, 126, 26, 84, 28);
  // Siblings of the group box, as in a dialog template; being the only radio buttons of the
  // dialog, they exclude each other.
  up_ = new QRadioButton(QStringLiteral("上へ(&U)"), this);
  up_->setObjectName(QStringLiteral("up"));
  Place(up_, 131, 38, 38, 12);
  down_ = new QRadioButton(QStringLiteral("下へ(&D)"), this);
  down_->setObjectName(QStringLiteral("down"));
  Place(down_, 170, 38, 38, 12);
}

QPushButton* FindReplaceDialog::AddButton(const QString& text, const char* name, int y) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(QLatin1String(name));
  Place(button, kButtonX, y, kButtonWidth, kButtonHeight);
  return button;
}

void FindReplaceDialog::ShowState() {
  findWhat_->SetNativeText(state_.FindWhat);
  if (replaceWith_) replaceWith_->SetNativeText(state_.ReplaceWith);
  matchCase_->setChecked(state_.MatchesCase());
  if (up_) (state_.SearchesDown() ? down_ : up_)->setChecked(true);
  UpdateButtons();
}

// An empty find field matches nothing, so the buttons that search stay greyed until it has text.
void FindReplaceDialog::UpdateButtons() {
  const bool hasFindText = !findWhat_->text().isEmpty();
  for (QPushButton* button : {findNext_, replace_, replaceAll_}) {
    if (button) button->setEnabled(hasFindText);
  }
}

void FindReplaceDialog::Press(std::uint32_t action) {
  state_.FindWhat = findWhat_->NativeText();
  if (replaceWith_) state_.ReplaceWith = replaceWith_->NativeText();
  state_.SetMatchesCase(matchCase_->isChecked());
  // The Replace dialog offers no direction: it always searches down.
  state_.SetSearchesDown(!up_ || !up_->isChecked());
  state_.SetAction(action);
  emit actionRequested();
}

}  // namespace propdesk
