#pragma once
// Dialogs laid out like the program's dialog templates: control rectangles given in dialog units,
// which scale with the dialog font, so that the layout keeps its proportions whatever font is found.
#include <QDialog>
#include <QFont>
#include <QRect>

class QShowEvent;

namespace propdesk {

// The dialog font: "ＭＳ Ｐゴシック" 9 pt, else the system's Japanese font.
QFont DialogFont();

// Dialog units of a font: a horizontal unit is a quarter of the font's average character width (of
// the Latin letters), a vertical unit an eighth of its line height.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  int ToPixelsX(int units) const;
  int ToPixelsY(int units) const;
  QRect ToPixels(const QRect& units) const;

 private:
  int averageCharWidth_;
  int lineHeight_;
};

// A modal dialog of fixed size with the dialog font, a caption and a close box. It centres itself
// over its owner when it opens and ends with kOk or kCancel (ESC and the close box give kCancel).
class TemplateDialog : public QDialog {
 public:
  static constexpr int kOk = 1;
  static constexpr int kCancel = 2;

  // width and height of the dialog's client area, in dialog units.
  TemplateDialog(QWidget* owner, const QString& caption, int width, int height);

  void reject() override;

 protected:
  // Puts a control at its rectangle (x, y, width, height) in dialog units, widened (and the dialog
  // with it) when its text needs more room.
  void Place(QWidget* control, int x, int y, int width, int height);
  void showEvent(QShowEvent* event) override;

 private:
  DialogUnits units_;
};

}  // namespace propdesk
